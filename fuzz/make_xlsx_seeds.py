#!/usr/bin/env python3
"""Writes seeds of the .xlsx fuzz target into fuzz/corpus-xlsx: packages as
other programs write them that the reader once got wrong (parts stored as
UTF-16, worksheets stored before the workbook part, a chart sheet, an empty
relationship id, a formula without a value, far cells)."""
import os
import zipfile

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus-xlsx")
MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
RELS = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
PKG = "http://schemas.openxmlformats.org/package/2006/relationships"


def parts(sheets_xml, extra_rels="", sheet1=None):
    sheet1 = sheet1 or (
        f'<worksheet xmlns="{MAIN}"><sheetData><row r="1"><c r="A1" t="s"><v>0</v></c>'
        '<c r="B1"><f>0.6+0.6</f><v></v></c><c r="XFD1"><v>1.5</v></c></row></sheetData></worksheet>')
    return [
        ("[Content_Types].xml",
         '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
         '<Default Extension="xml" ContentType="application/xml"/>'
         '<Override PartName="/xl/workbook.xml" '
         'ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/></Types>'),
        ("_rels/.rels",
         f'<Relationships xmlns="{PKG}"><Relationship Id="rId1" Type="{RELS}/officeDocument" '
         'Target="xl/workbook.xml"/></Relationships>'),
        ("xl/workbook.xml",
         f'<workbook xmlns="{MAIN}" xmlns:r="{RELS}"><sheets>{sheets_xml}</sheets></workbook>'),
        ("xl/_rels/workbook.xml.rels",
         f'<Relationships xmlns="{PKG}"><Relationship Id="rId1" Type="{RELS}/worksheet" '
         f'Target="worksheets/sheet1.xml"/><Relationship Id="rId2" Type="{RELS}/sharedStrings" '
         f'Target="sharedStrings.xml"/>{extra_rels}</Relationships>'),
        ("xl/sharedStrings.xml", f'<sst xmlns="{MAIN}" count="9"><si><t>回路</t></si><si/></sst>'),
        ("xl/worksheets/sheet1.xml", sheet1),
    ]


def write(name, members):
    with zipfile.ZipFile(os.path.join(HERE, name), "w", zipfile.ZIP_DEFLATED) as z:
        for part, xml in members:
            z.writestr(part, xml if isinstance(xml, bytes) else xml.encode("utf-8"))


def utf16(xml):
    return ('<?xml version="1.0" encoding="UTF-16"?>' + xml).encode("utf-16")


one = '<sheet name="S" sheetId="1" r:id="rId1"/>'
write("utf16_parts.xlsx", [(p, utf16(x) if p in ("xl/workbook.xml", "[Content_Types].xml") else x)
                           for p, x in parts(one)])
write("worksheets_first.xlsx", list(reversed(parts(one))))
write("chart_sheet_and_empty_id.xlsx",
      parts(one + '<sheet name="CSpreadSheetBackup" sheetId="2" r:id="rId5"/><sheet name="Bad" sheetId="3" r:id=""/>',
            f'<Relationship Id="rId5" Type="{RELS}/chartsheet" Target="chartsheets/sheet1.xml"/>'))

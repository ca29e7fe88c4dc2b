#!/usr/bin/python3
"""Writes the sample input workbook 电气计算.xls: the circuits of one
distribution board and a library of switch models with their ratings.

Run: /usr/bin/python3 make_sample_workbook.py [OUTPUT]  (needs python3-xlwt)
"""
import sys

import xlwt

CIRCUIT_HEADER = ["线路编号", "相别", "设备功率", "需要系数", "功率因数", "备注"]

# Circuit number, phase, equipment power (kW), demand coefficient, power factor, remark.
CIRCUITS = [
    ("WL1", "L1", 1.2, 0.9, 0.9, "一层走廊照明"),
    ("WL2", "L2", 1.5, 0.9, 0.9, "一层办公室照明"),
    ("WL3", "L3", 1.8, 0.9, 0.9, "二层办公室照明"),
    ("WL4", "L1", 0.8, 1.0, 0.9, "楼梯间及应急照明"),
    ("WX1", "L2", 2.0, 0.6, 0.85, "一层普通插座"),
    ("WX2", "L3", 2.0, 0.6, 0.85, "二层普通插座"),
    ("WX3", "L1", 3.0, 0.7, 0.85, "会议室插座"),
    ("WX4", "L2", 2.5, 0.7, 0.85, "茶水间插座"),
    ("WX5", "L3", 4.0, 0.5, 0.85, "机房插座"),
    ("WK1", "L1", 2.6, 0.8, 0.8, "一层办公室空调"),
    ("WK2", "L2", 2.6, 0.8, 0.8, "二层办公室空调"),
    ("WK3", "L3", 3.5, 0.8, 0.8, "会议室空调"),
    ("WK4", "L1", 5.0, 0.85, 0.8, "大厅柜式空调"),
    ("WK5", "L2", 1.5, 0.85, 0.8, "值班室空调"),
    ("WR1", "L3", 3.0, 1.0, 0.95, "卫生间电热水器"),
]

SWITCH_HEADER = ["开关型号", "额定电流1", "额定电流2", "额定电流3", "额定电流4", "额定电流5"]

# Miniature circuit breakers by rated current, then frame sizes with their
# settable ratings (A).
SWITCHES = [
    ("C6", [6]),
    ("C10", [10]),
    ("C16", [16]),
    ("C20", [20]),
    ("C25", [25]),
    ("C32", [32]),
    ("C40", [40]),
    ("C50", [50]),
    ("C63", [63]),
    ("MCCB-125", [80, 100, 125]),
    ("MCCB-250", [160, 180, 200, 225, 250]),
    ("MCCB-400", [315, 350, 400]),
]


def write_rows(sheet, header, rows):
    for column, title in enumerate(header):
        sheet.write(0, column, title)
    for r, row in enumerate(rows, start=1):
        for column, value in enumerate(row):
            sheet.write(r, column, value)


def main():
    output = sys.argv[1] if len(sys.argv) > 1 else "电气计算.xls"
    book = xlwt.Workbook(encoding="utf-8")
    write_rows(book.add_sheet("线路负荷计算"), CIRCUIT_HEADER, CIRCUITS)
    write_rows(book.add_sheet("开关型号库"), SWITCH_HEADER,
               [[name] + ratings for name, ratings in SWITCHES])
    book.save(output)


if __name__ == "__main__":
    main()

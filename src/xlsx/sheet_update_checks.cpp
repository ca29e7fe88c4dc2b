#include "xlsx/sheet_update_checks.h"

#include "xlsx/part_encoding.h"
#include "xlsx/sheet_part_update.h"

namespace xlsx {

namespace {

xls::Result<bool> PartHolds(const ZipPackage& package, const std::string& part, std::string_view local) {
  auto stored = package.ReadPart(part);
  if (!stored) return stored.error();
  auto decoded = EditablePart::Decode(*stored, part);
  if (!decoded) return decoded.error();
  return XmlHoldsElement(decoded->text(), local, part);
}

}  // namespace

xls::Status OthersAllowRowMoves(const PackageFile& file, size_t sheet) {
  auto names = PartHolds(file.package(), file.workbook_part(), "definedName");
  if (!names) return names.error();
  if (*names)
    return xls::MakeError("The workbook holds defined names, which may refer to the rows that would move",
                          xls::ErrorKind::CannotKeep);
  for (size_t i = 0; i < file.sheets().size(); ++i) {
    const ListedSheet& other = file.sheets()[i];
    if (i == sheet || other.part.empty()) continue;
    auto formulas = PartHolds(file.package(), other.part, "f");
    if (!formulas) return formulas.error();
    if (*formulas)
      return xls::MakeError("Another sheet holds formulas, which may refer to the rows that would move",
                            xls::ErrorKind::CannotKeep);
  }
  return xls::Ok{};
}

xls::Result<std::string> UpdateSheetPart(const ZipPackage& package, const std::optional<std::string>& earlier,
                                         const std::string& part, const xls::SheetUpdate& update) {
  std::string stored;
  if (earlier) {
    stored = *earlier;
  } else {
    auto read = package.ReadPart(part);
    if (!read) return read.error();
    stored = std::move(*read);
  }
  auto decoded = EditablePart::Decode(stored, part);
  if (!decoded) return decoded.error();
  auto updated = UpdateSheetXml(decoded->text(), update, part);
  if (!updated) return updated.error();
  return decoded->Encode(*updated);
}

}  // namespace xlsx

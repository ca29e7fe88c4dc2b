// An Office Open XML workbook (.xlsx, .xlsm) held as its ZIP package. Only
// the parts the program changes are rewritten: a replaced sheet's part, and
// for an added sheet the parts that list sheets (the workbook part, its
// relationships, the content types and the application properties). Every
// other part keeps its stored bytes.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "workbook/sheet_book.h"

namespace xlsx {

// True when the bytes start as a ZIP archive does.
bool LooksLikeZip(std::span<const uint8_t> bytes);

class XlsxWorkbook : public xls::SheetBook {
 public:
  // A new workbook without sheets; macro-enabled for a name ending in .xlsm.
  explicit XlsxWorkbook(bool macro_enabled = false);
  ~XlsxWorkbook() override;
  XlsxWorkbook(XlsxWorkbook&&) noexcept;
  XlsxWorkbook& operator=(XlsxWorkbook&&) noexcept;

  // Opened again on an unchanged file, the package parsed before is shared.
  static xls::Result<XlsxWorkbook> Load(const std::string& path);
  static xls::Result<XlsxWorkbook> Parse(std::vector<uint8_t> bytes);

  size_t SheetCount() const override;
  const std::u16string& SheetName(size_t index) const override;
  std::optional<size_t> FindSheet(std::u16string_view name) const override;
  bool HasSheetNamed(std::u16string_view name) const override;
  xls::Result<xls::Grid> ReadSheet(size_t index) const override;
  xls::Result<std::shared_ptr<const xls::Grid>> SheetCells(size_t index) const override;
  using SheetBook::ReplaceSheet;
  void ReplaceSheet(size_t index, xls::Grid cells, xls::NumberCells numbers) override;
  // Only the named cells change; see SheetBook.
  xls::Status UpdateCells(size_t index, const xls::SheetUpdate& update) override;
  size_t AddSheet(std::u16string name, xls::Grid cells) override;

  xls::Result<std::vector<uint8_t>> Serialize() const;
  // Refused, with nothing written, when the file the workbook was loaded
  // from has been changed on disk since.
  xls::Status Save(const std::string& path) const override;

 private:
  struct Impl;
  std::unique_ptr<Impl> m_impl;
};

}  // namespace xlsx

// A workbook held in memory: its sheets by name and their cell texts.
// Loading reads the workbook globals and the sheet list; a sheet's records
// are read when the sheet is first read. Saving reads the rest of the file
// and keeps its own bytes for everything the program does not change, so it
// rewrites only the sheets that were replaced or added and every other
// sheet, format, formula, name and stream stays as it was.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "workbook/result.h"
#include "workbook/sheet_book.h"

namespace xls {

class Workbook : public SheetBook {
 public:
  Workbook();  // a new workbook without sheets, held in memory only
  ~Workbook() override;
  Workbook(Workbook&&) noexcept;
  Workbook& operator=(Workbook&&) noexcept;
  Workbook(const Workbook&) = delete;
  Workbook& operator=(const Workbook&) = delete;

  // `path` is in the operating system's encoding (UTF-8). A missing file gives
  // an error of kind NotFound.
  static Result<Workbook> Load(const std::string& path);
  static Result<Workbook> Parse(std::span<const uint8_t> bytes);

  size_t SheetCount() const override;
  const std::u16string& SheetName(size_t index) const override;
  // Sheet names compare without regard to case, as the spreadsheet programs do.
  std::optional<size_t> FindSheet(std::u16string_view name) const override;
  // Any sheet of this name, whatever its kind (chart sheets too).
  bool HasSheetNamed(std::u16string_view name) const override;

  Result<Grid> ReadSheet(size_t index) const override;
  // The same cells without a copy, shared with other workbooks opened on the
  // same unchanged file; for reading only.
  Result<std::shared_ptr<const Grid>> SheetCells(size_t index) const override;
  using SheetBook::ReplaceSheet;
  void ReplaceSheet(size_t index, Grid cells, NumberCells numbers) override;
  // Only the named cells change; see SheetBook.
  Status UpdateCells(size_t index, const SheetUpdate& update) override;
  // Appends a sheet after the others; returns its index.
  size_t AddSheet(std::u16string name, Grid cells) override;

  Result<std::vector<uint8_t>> Serialize() const;
  // Atomic: a temporary file in the same folder, then rename. The file keeps
  // its permissions; a symbolic link is written through to its target.
  Status Save(const std::string& path) const override;

 private:
  struct Impl;
  std::unique_ptr<Impl> m_impl;
};

}  // namespace xls

// What the driver needs of a workbook, whatever its file format: the sheets
// by name, their cell texts, and writing back only what changed. The BIFF8
// workbook (.xls) and the Office Open XML workbook (.xlsx) both provide it.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "workbook/result.h"
#include "workbook/grid.h"
#include "workbook/number_cells.h"
#include "workbook/sheet_update.h"

namespace xls {

class SheetBook {
 public:
  virtual ~SheetBook() = default;

  // The worksheets offered to callers, in file order.
  virtual size_t SheetCount() const = 0;
  virtual const std::u16string& SheetName(size_t index) const = 0;
  // Sheet names compare without regard to case, as the spreadsheet programs do.
  virtual std::optional<size_t> FindSheet(std::u16string_view name) const = 0;
  // True when any sheet of the workbook has this name, whatever its kind
  // (chart sheets too), so that no second sheet of the name is made.
  virtual bool HasSheetNamed(std::u16string_view name) const { return FindSheet(name).has_value(); }

  virtual Result<Grid> ReadSheet(size_t index) const = 0;
  // The sheet's cells for reading only; a format that keeps them parsed
  // hands them out without a copy.
  virtual Result<std::shared_ptr<const Grid>> SheetCells(size_t index) const {
    auto cells = ReadSheet(index);
    if (!cells) return cells.error();
    return std::make_shared<const Grid>(std::move(cells.value()));
  }
  // The sheet's cells become exactly `cells`, all stored as text.
  void ReplaceSheet(size_t index, Grid cells) { ReplaceSheet(index, std::move(cells), {}); }
  // The same, except that the cells listed in `numbers` are stored as the
  // numbers their texts show (a text that is no number stays text).
  virtual void ReplaceSheet(size_t index, Grid cells, NumberCells numbers) = 0;
  // Changes only the cells the update names, keeping every cell's format and
  // everything else of the sheet. Refused, with the workbook unchanged, when
  // rows cannot move without breaking what refers to them (formulas, merged
  // ranges that would be cut).
  virtual Status UpdateCells(size_t index, const SheetUpdate& update) = 0;
  // Appends a sheet after the others; returns its index.
  virtual size_t AddSheet(std::u16string name, Grid cells) = 0;

  // Atomic, as every workbook write.
  virtual Status Save(const std::string& path) const = 0;
};

}  // namespace xls

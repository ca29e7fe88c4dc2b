// Changed cells written into a loaded sheet's own records: the sheet reads
// back as the update says, FreeXL agrees, and the other sheets are untouched.
#include <gtest/gtest.h>

#include <freexl.h>

#include "test_support.h"
#include "workbook/sheet_update.h"

namespace xls::test {
namespace {

// FreeXL's count of cells holding anything in the first sheet: it walks
// the cell records through the offsets the sheet gives.
size_t FreexlFilledCells(const std::string& path) {
  const void* handle = nullptr;
  if (freexl_open(path.c_str(), &handle) != FREEXL_OK) return 0;
  freexl_select_active_worksheet(handle, 0);
  unsigned int rows = 0;
  unsigned short columns = 0;
  freexl_worksheet_dimensions(handle, &rows, &columns);
  size_t filled = 0;
  for (unsigned int r = 0; r < rows; ++r)
    for (unsigned short c = 0; c < columns; ++c) {
      FreeXL_CellValue value;
      if (freexl_get_cell_value(handle, r, c, &value) == FREEXL_OK && value.type != FREEXL_CELL_NULL) ++filled;
    }
  freexl_close(handle);
  return filled;
}

size_t Filled(const Grid& grid) {
  size_t filled = 0;
  for (const auto& row : grid)
    for (const auto& cell : row) filled += cell.empty() ? 0 : 1;
  return filled;
}

class XlsCellUpdate : public ::testing::TestWithParam<const char*> {};

// Gnumeric writes numbers in a row as one MULRK record, xlwt one record per cell.
TEST_P(XlsCellUpdate, TheSheetReadsBackAsUpdatedAndTheOthersAsTheyWere) {
  auto book = Workbook::Parse(ReadBytes(FixturePath(GetParam())));
  ASSERT_TRUE(book.ok()) << book.error().text;
  std::vector<Grid> before;
  for (size_t i = 0; i < book->SheetCount(); ++i) before.push_back(book->ReadSheet(i).value());
  // Both sheets hold formulas, so rows stay where they are (see below).
  SheetUpdate update;
  update.cells = {{1, 1, u"L3"}, {1, 3, u"0.95"}, {3, 0, u"WL9"}, {3, 2, u"12.5"}, {4, 5, u"改"}, {12, 1, u"新行"}};
  auto updated = book->UpdateCells(0, update);
  ASSERT_TRUE(updated.ok()) << updated.error().text;
  Grid expected = before[0];
  ApplyUpdate(expected, update);
  EXPECT_EQ(book->ReadSheet(0).value(), expected);

  TempFolder folder;
  const std::string path = (folder.Path() / "updated.xls").string();
  ASSERT_TRUE(book->Save(path).ok());
  auto reloaded = Workbook::Load(path);
  ASSERT_TRUE(reloaded.ok()) << reloaded.error().text;
  EXPECT_EQ(reloaded->ReadSheet(0).value(), expected);
  for (size_t i = 1; i < before.size(); ++i) EXPECT_EQ(reloaded->ReadSheet(i).value(), before[i]);
  // FreeXL leaves some formula results out; what it sees grows as the cells do.
  const size_t seenBefore = FreexlFilledCells(FixturePath(GetParam()).string());
  EXPECT_EQ(FreexlFilledCells(path), seenBefore + Filled(expected) - Filled(before[0]));
}

INSTANTIATE_TEST_SUITE_P(Writers, XlsCellUpdate, ::testing::Values("gnumeric_circuits.xls", "xlwt_circuits.xls"));

TEST(XlsCellUpdate, RowsDoNotMoveUnderFormulasAndNothingChanges) {
  auto book = Workbook::Parse(ReadBytes(FixturePath("xlwt_circuits.xls")));
  ASSERT_TRUE(book.ok());
  const auto original = book->Serialize();
  ASSERT_TRUE(original.ok());
  SheetUpdate update;
  update.deleted_rows = {2};
  update.cells = {{1, 1, u"L3"}};
  auto refused = book->UpdateCells(0, update);
  ASSERT_FALSE(refused.ok());
  EXPECT_EQ(refused.error().kind, ErrorKind::CannotKeep);
  EXPECT_EQ(book->Serialize().value(), original.value());
}

}  // namespace
}  // namespace xls::test

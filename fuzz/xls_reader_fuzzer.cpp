// Feeds arbitrary bytes to the workbook reader: loading, reading every sheet
// and saving again must end in a value or an error text, never in a crash.
// A save that succeeds must also keep what it did not touch: after one sheet
// is rewritten and one added, every other sheet reads exactly as before.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <span>
#include <vector>

#include "xls/workbook.h"

namespace {

void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "round trip broken: %s\n", what);
  std::abort();
}

// Texts the rewritten and added sheets bring in: new shared strings that
// would take any index a damaged sheet points past.
xls::Grid NewCells() {
  xls::Grid cells;
  for (int row = 0; row < 70; ++row) cells.push_back({u"新" + std::u16string(1, static_cast<char16_t>(u'A' + row % 26)) +
                                                      std::u16string(static_cast<size_t>(row / 26 + 1), u'x')});
  return cells;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto book = xls::Workbook::Parse(std::span<const uint8_t>(data, size));
  if (!book) return 0;
  std::vector<std::optional<xls::Grid>> before;
  for (size_t s = 0; s < book->SheetCount(); ++s) {
    auto grid = book->ReadSheet(s);
    before.push_back(grid ? std::optional<xls::Grid>(std::move(*grid)) : std::nullopt);
  }
  if (book->SheetCount() > 0) book->ReplaceSheet(0, NewCells());
  book->AddSheet(u"FuzzAddedSheet", NewCells());
  auto saved = book->Serialize();
  if (!saved) return 0;
  auto again = xls::Workbook::Parse(*saved);
  Require(again.ok(), "the saved workbook does not load");
  Require(again->SheetCount() == before.size() + 1, "the sheet count changed");
  for (size_t s = 1; s < before.size(); ++s) {
    if (!before[s]) continue;
    auto grid = again->ReadSheet(s);
    Require(grid.ok(), "an untouched sheet no longer reads");
    Require(*grid == *before[s], "an untouched sheet reads differently");
  }
  if (!before.empty()) {
    auto rewritten = again->ReadSheet(0);
    Require(rewritten.ok() && *rewritten == NewCells(), "the rewritten sheet reads differently");
  }
  auto added = again->ReadSheet(before.size());
  Require(added.ok() && *added == NewCells(), "the added sheet reads differently");
  return 0;
}

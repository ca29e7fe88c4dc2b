// Feeds arbitrary bytes to the .xlsx reader: opening the package, reading
// every sheet, adding a sheet and saving again must end in a value or an
// error text, never in a crash.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "xlsx/xlsx_workbook.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto book = xlsx::XlsxWorkbook::Parse(std::vector<uint8_t>(data, data + size));
  if (!book) return 0;
  for (size_t s = 0; s < book->SheetCount(); ++s) (void)book->ReadSheet(s);
  if (book->SheetCount() > 0) book->ReplaceSheet(0, {{u"x"}});
  book->AddSheet(u"CSpreadSheetBackup", {{u"a", u"b"}});
  auto saved = book->Serialize();
  if (saved) (void)xlsx::XlsxWorkbook::Parse(*saved);
  return 0;
}

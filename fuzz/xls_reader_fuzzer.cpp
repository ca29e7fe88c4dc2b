// Feeds arbitrary bytes to the workbook reader: loading, reading every sheet
// and saving again must end in a value or an error text, never in a crash.
#include <cstddef>
#include <cstdint>
#include <span>

#include "xls/workbook.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto book = xls::Workbook::Parse(std::span<const uint8_t>(data, size));
  if (!book) return 0;
  for (size_t s = 0; s < book->SheetCount(); ++s) (void)book->ReadSheet(s);
  if (book->SheetCount() > 0) book->ReplaceSheet(0, {{u"x"}});
  auto saved = book->Serialize();
  if (saved) (void)xls::Workbook::Parse(*saved);
  return 0;
}

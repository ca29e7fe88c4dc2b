#include "xls/connection_book.h"

#include <algorithm>
#include <cctype>

#include "xls/atomic_file.h"
#include "xlsx/xlsx_workbook.h"

namespace xls {

namespace {

// The BIFF8 workbook as the driver sees it.
class Biff8Book : public SheetBook {
 public:
  explicit Biff8Book(Workbook book) : m_book(std::move(book)) {}
  size_t SheetCount() const override { return m_book.SheetCount(); }
  const std::u16string& SheetName(size_t index) const override { return m_book.SheetName(index); }
  std::optional<size_t> FindSheet(std::u16string_view name) const override { return m_book.FindSheet(name); }
  Result<Grid> ReadSheet(size_t index) const override { return m_book.ReadSheet(index); }
  void ReplaceSheet(size_t index, Grid cells) override { m_book.ReplaceSheet(index, std::move(cells)); }
  size_t AddSheet(std::u16string name, Grid cells) override { return m_book.AddSheet(std::move(name), std::move(cells)); }
  Status Save(const std::string& path) const override { return m_book.Save(path); }

 private:
  Workbook m_book;
};

bool EndsWithIgnoringCase(const std::string& text, std::string_view ending) {
  if (text.size() < ending.size()) return false;
  return std::equal(ending.begin(), ending.end(), text.end() - static_cast<std::ptrdiff_t>(ending.size()),
                    [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b)); });
}

}  // namespace

bool NamesXlsxWorkbook(const std::string& path) {
  return EndsWithIgnoringCase(path, ".xlsx") || EndsWithIgnoringCase(path, ".xlsm");
}

Result<std::unique_ptr<SheetBook>> LoadSheetBook(const std::string& path) {
  auto bytes = ReadWholeFile(path);
  if (!bytes) return bytes.error();
  if (xlsx::LooksLikeZip(*bytes)) {
    auto book = xlsx::XlsxWorkbook::Parse(std::move(*bytes));
    if (!book) return book.error();
    return std::unique_ptr<SheetBook>(std::make_unique<xlsx::XlsxWorkbook>(std::move(*book)));
  }
  if (NamesXlsxWorkbook(path))
    return MakeError("The file is not an Excel workbook (.xlsx): it is no ZIP archive");
  auto book = Workbook::Parse(*bytes);
  if (!book) return book.error();
  return std::unique_ptr<SheetBook>(std::make_unique<Biff8Book>(std::move(*book)));
}

std::unique_ptr<SheetBook> NewSheetBook(const std::string& path) {
  if (NamesXlsxWorkbook(path)) return std::make_unique<xlsx::XlsxWorkbook>(EndsWithIgnoringCase(path, ".xlsm"));
  return std::make_unique<Biff8Book>(Workbook());
}

}  // namespace xls

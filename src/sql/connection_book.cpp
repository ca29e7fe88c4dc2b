#include "sql/connection_book.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#include "workbook/atomic_file.h"
#include "xls/workbook.h"
#include "xlsx/xlsx_workbook.h"

namespace xls {

namespace {

bool EndsWithIgnoringCase(const std::string& text, std::string_view ending) {
  if (text.size() < ending.size()) return false;
  return std::equal(ending.begin(), ending.end(), text.end() - static_cast<std::ptrdiff_t>(ending.size()),
                    [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b)); });
}

// The first bytes tell the container: a ZIP archive is .xlsx, anything else
// is offered to the BIFF8 reader, whose errors name what is wrong.
Result<std::vector<uint8_t>> ReadFileHead(const std::string& path, size_t count) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return MakeError("The workbook file does not exist: " + path, ErrorKind::NotFound);
    return MakeError("Cannot open " + path + ": " + std::strerror(errno),
                     errno == EACCES ? ErrorKind::AccessDenied : ErrorKind::Failed);
  }
  std::vector<uint8_t> head(count);
  file.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(count));
  head.resize(static_cast<size_t>(file.gcount()));
  return head;
}

bool LooksLikeCompoundFile(const std::vector<uint8_t>& head) {
  static constexpr uint8_t kSignature[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  return head.size() >= sizeof kSignature && std::equal(std::begin(kSignature), std::end(kSignature), head.begin());
}

}  // namespace

bool NamesXlsxWorkbook(const std::string& path) {
  return EndsWithIgnoringCase(path, ".xlsx") || EndsWithIgnoringCase(path, ".xlsm");
}

Result<std::unique_ptr<SheetBook>> LoadSheetBook(const std::string& path) {
  auto head = ReadFileHead(path, 8);
  if (!head) return head.error();
  if (xlsx::LooksLikeZip(*head)) {
    auto book = xlsx::XlsxWorkbook::Load(path);
    if (!book) return book.error();
    return std::unique_ptr<SheetBook>(std::make_unique<xlsx::XlsxWorkbook>(std::move(*book)));
  }
  // A password-protected .xlsx is a compound file: the BIFF8 reader names it so.
  if (NamesXlsxWorkbook(path) && !LooksLikeCompoundFile(*head))
    return MakeError("The file is not an Excel workbook (.xlsx): it is no ZIP archive", ErrorKind::NotAWorkbook);
  // A BIFF8 workbook is opened where it lies: only the globals now, each
  // sheet when it is first read, so a switch lookup stays cheap.
  auto book = Workbook::Load(path);
  if (!book) return book.error();
  return std::unique_ptr<SheetBook>(std::make_unique<Workbook>(std::move(*book)));
}

std::unique_ptr<SheetBook> NewSheetBook(const std::string& path) {
  if (NamesXlsxWorkbook(path)) return std::make_unique<xlsx::XlsxWorkbook>(EndsWithIgnoringCase(path, ".xlsm"));
  return std::make_unique<Workbook>();
}

}  // namespace xls

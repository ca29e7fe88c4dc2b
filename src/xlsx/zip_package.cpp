#include "xlsx/zip_package.h"

#include <zip.h>

#include <algorithm>

namespace xlsx {

namespace {

// Workbook parts inflate to a few dozen times their stored size; a part that
// claims far more than the whole archive could hold is refused as a bomb.
constexpr uint64_t kInflationPerByte = 100;
constexpr uint64_t kInflationAllowance = uint64_t{1} << 20;
constexpr uint64_t kLargestPart = uint64_t{256} << 20;
constexpr size_t kReadChunk = 64 * 1024;

std::string ErrorText(zip_error_t* error) { return zip_error_strerror(error); }

std::string ArchiveError(zip_t* archive) { return zip_strerror(archive); }

struct ArchiveCloser {
  void operator()(zip_t* archive) const { zip_discard(archive); }
};
using ArchivePtr = std::unique_ptr<zip_t, ArchiveCloser>;

struct FileCloser {
  void operator()(zip_file_t* file) const { zip_fclose(file); }
};

// Opens an archive over `source`, which it then owns.
xls::Result<ArchivePtr> OpenFromSource(zip_source_t* source, int flags) {
  zip_error_t error;
  zip_error_init(&error);
  zip_t* archive = zip_open_from_source(source, flags, &error);
  if (!archive) {
    std::string text = ErrorText(&error);
    zip_error_fini(&error);
    zip_source_free(source);
    return xls::MakeError("The file is not a readable ZIP archive (" + text + ")");
  }
  zip_error_fini(&error);
  return ArchivePtr(archive);
}

xls::Status AddOrReplace(zip_t* archive, const std::string& name, const std::string& data) {
  zip_source_t* source = zip_source_buffer(archive, data.data(), data.size(), 0);
  if (!source) return xls::MakeError("Cannot store the part " + name + ": " + ArchiveError(archive));
  const zip_int64_t index = zip_name_locate(archive, name.c_str(), ZIP_FL_NOCASE);
  const bool stored = index >= 0 ? zip_file_replace(archive, static_cast<zip_uint64_t>(index), source, 0) == 0
                                 : zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8) >= 0;
  if (stored) return xls::Ok{};
  zip_source_free(source);
  return xls::MakeError("Cannot store the part " + name + ": " + ArchiveError(archive));
}

// Writes the archive into `source` (kept alive across the close) and returns its bytes.
xls::Result<std::vector<uint8_t>> CloseInto(ArchivePtr archive, zip_source_t* source) {
  if (zip_close(archive.get()) != 0) {
    std::string text = ArchiveError(archive.get());
    zip_source_free(source);
    return xls::MakeError("Cannot write the workbook archive: " + text);
  }
  (void)archive.release();
  std::vector<uint8_t> bytes;
  zip_stat_t stat;
  if (zip_source_stat(source, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE) && zip_source_open(source) == 0) {
    bytes.resize(stat.size);
    const zip_int64_t read = zip_source_read(source, bytes.data(), bytes.size());
    zip_source_close(source);
    if (read != static_cast<zip_int64_t>(bytes.size())) bytes.clear();
  }
  zip_source_free(source);
  if (bytes.empty()) return xls::MakeError("Cannot write the workbook archive: it came out empty");
  return bytes;
}

// The archive `bytes` (none for a new one) with `parts` added or replaced;
// libzip copies every other member as it was stored.
template <typename Parts>
xls::Result<std::vector<uint8_t>> WriteArchive(const uint8_t* bytes, size_t size, int flags, const Parts& parts) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(bytes, size, 0, &error);
  zip_error_fini(&error);
  if (!source) return xls::MakeError("Out of memory while writing the workbook archive");
  zip_source_keep(source);
  auto archive = OpenFromSource(source, flags);
  if (!archive) {
    zip_source_free(source);
    return archive.error();
  }
  for (const auto& [name, data] : parts)
    if (auto stored = AddOrReplace(archive->get(), name, data); !stored) {
      zip_source_free(source);
      return stored.error();
    }
  return CloseInto(std::move(*archive), source);
}

}  // namespace

struct ZipPackage::Impl {
  std::vector<uint8_t> bytes;
  ArchivePtr archive;

  uint64_t inflation_bound() const {
    return std::min(kLargestPart, kInflationAllowance + kInflationPerByte * bytes.size());
  }
};

ZipPackage::ZipPackage(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}
ZipPackage::ZipPackage(ZipPackage&&) noexcept = default;
ZipPackage& ZipPackage::operator=(ZipPackage&&) noexcept = default;
ZipPackage::~ZipPackage() = default;

xls::Result<ZipPackage> ZipPackage::Open(std::vector<uint8_t> bytes) {
  auto impl = std::make_unique<Impl>();
  impl->bytes = std::move(bytes);
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(impl->bytes.data(), impl->bytes.size(), 0, &error);
  zip_error_fini(&error);
  if (!source) return xls::MakeError("Out of memory while opening the workbook archive");
  auto archive = OpenFromSource(source, ZIP_RDONLY | ZIP_CHECKCONS);
  if (!archive) return archive.error();
  impl->archive = std::move(*archive);
  return ZipPackage(std::move(impl));
}

bool ZipPackage::HasPart(const std::string& name) const {
  return zip_name_locate(m_impl->archive.get(), name.c_str(), ZIP_FL_NOCASE) >= 0;
}

std::vector<std::string> ZipPackage::PartNames() const {
  std::vector<std::string> names;
  const zip_int64_t count = zip_get_num_entries(m_impl->archive.get(), 0);
  for (zip_int64_t i = 0; i < count; ++i)
    if (const char* name = zip_get_name(m_impl->archive.get(), static_cast<zip_uint64_t>(i), 0)) names.emplace_back(name);
  return names;
}

xls::Result<std::string> ZipPackage::ReadPart(const std::string& name) const {
  zip_t* archive = m_impl->archive.get();
  const zip_int64_t index = zip_name_locate(archive, name.c_str(), ZIP_FL_NOCASE);
  if (index < 0) return xls::MakeError("The workbook has no part " + name, xls::ErrorKind::NotFound);
  const uint64_t bound = m_impl->inflation_bound();
  zip_stat_t stat;
  if (zip_stat_index(archive, static_cast<zip_uint64_t>(index), 0, &stat) != 0) stat.valid = 0;
  if ((stat.valid & ZIP_STAT_SIZE) && stat.size > bound)
    return xls::MakeError("The part " + name + " would inflate far beyond the size of the file; it is refused");
  std::unique_ptr<zip_file_t, FileCloser> file(zip_fopen_index(archive, static_cast<zip_uint64_t>(index), 0));
  if (!file) return xls::MakeError("Cannot read the part " + name + ": " + ArchiveError(archive));
  std::string data;
  if (stat.valid & ZIP_STAT_SIZE) data.reserve(static_cast<size_t>(stat.size) + kReadChunk);
  // The stored size may lie: the bound holds for what actually comes out.
  for (;;) {
    const size_t at = data.size();
    data.resize(at + kReadChunk);
    const zip_int64_t read = zip_fread(file.get(), data.data() + at, kReadChunk);
    if (read < 0) return xls::MakeError("The part " + name + " is damaged: " + zip_file_strerror(file.get()));
    data.resize(at + static_cast<size_t>(read));
    if (read == 0) break;
    if (data.size() > bound)
      return xls::MakeError("The part " + name + " inflates far beyond the size of the file; it is refused");
  }
  return data;
}

xls::Result<std::vector<uint8_t>> ZipPackage::WithParts(const std::map<std::string, std::string>& parts) const {
  return WriteArchive(m_impl->bytes.data(), m_impl->bytes.size(), 0, parts);
}

xls::Result<std::vector<uint8_t>> ZipPackage::Create(const std::vector<std::pair<std::string, std::string>>& parts) {
  return WriteArchive(nullptr, 0, ZIP_CREATE | ZIP_TRUNCATE, parts);
}

}  // namespace xlsx

#include "xlsx/zip_package.h"

#include <zip.h>

#include <algorithm>
#include <mutex>

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

// `data` must outlive the archive's close, which reads it.
xls::Status AddPart(zip_t* archive, const std::string& name, const std::string& data) {
  zip_source_t* source = zip_source_buffer(archive, data.data(), data.size(), 0);
  if (!source) return xls::MakeError("Cannot store the part " + name + ": " + ArchiveError(archive));
  if (zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8) >= 0) return xls::Ok{};
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

// A new, empty archive in memory, with the source it will be written into.
// libzip writes into a buffer of its own, never into one the caller holds.
xls::Result<std::pair<ArchivePtr, zip_source_t*>> NewArchive() {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(nullptr, 0, 0, &error);
  zip_error_fini(&error);
  if (!source) return xls::MakeError("Out of memory while writing the workbook archive");
  zip_source_keep(source);
  auto archive = OpenFromSource(source, ZIP_CREATE | ZIP_TRUNCATE);
  if (!archive) {
    zip_source_free(source);
    return archive.error();
  }
  return std::pair{std::move(*archive), source};
}

// A member of `from` copied into `to` as it was stored: its compressed bytes,
// method and time, without inflating them.
xls::Status CopyStored(zip_t* to, zip_t* from, zip_uint64_t index) {
  const char* name = zip_get_name(from, index, ZIP_FL_ENC_RAW);
  zip_stat_t stat;
  if (!name || zip_stat_index(from, index, 0, &stat) != 0)
    return xls::MakeError("Cannot copy a member of the workbook archive: " + ArchiveError(from));
  zip_source_t* source = zip_source_zip(to, from, index, ZIP_FL_COMPRESSED, 0, -1);
  if (!source) return xls::MakeError("Cannot copy the part " + std::string(name) + ": " + ArchiveError(to));
  const zip_int64_t added = zip_file_add(to, name, source, 0);
  if (added < 0) {
    zip_source_free(source);
    return xls::MakeError("Cannot copy the part " + std::string(name) + ": " + ArchiveError(to));
  }
  const auto at = static_cast<zip_uint64_t>(added);
  if (stat.valid & ZIP_STAT_COMP_METHOD) (void)zip_set_file_compression(to, at, static_cast<zip_int32_t>(stat.comp_method), 0);
  if (stat.valid & ZIP_STAT_MTIME) (void)zip_file_set_mtime(to, at, stat.mtime, 0);
  return xls::Ok{};
}

}  // namespace

struct ZipPackage::Impl {
  std::vector<uint8_t> bytes;
  ArchivePtr archive;
  // libzip's archive keeps a read position: one reader at a time.
  mutable std::mutex mutex;

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
  // The members are found through the central directory, as other readers
  // do; a stray byte between members harms no member, so it is no reason to
  // refuse the package. Each member's own damage shows when it is read.
  auto archive = OpenFromSource(source, ZIP_RDONLY);
  if (!archive) return archive.error();
  impl->archive = std::move(*archive);
  return ZipPackage(std::move(impl));
}

bool ZipPackage::HasPart(const std::string& name) const {
  std::lock_guard lock(m_impl->mutex);
  return zip_name_locate(m_impl->archive.get(), name.c_str(), ZIP_FL_NOCASE) >= 0;
}

std::vector<std::string> ZipPackage::PartNames() const {
  std::lock_guard lock(m_impl->mutex);
  std::vector<std::string> names;
  const zip_int64_t count = zip_get_num_entries(m_impl->archive.get(), 0);
  for (zip_int64_t i = 0; i < count; ++i)
    if (const char* name = zip_get_name(m_impl->archive.get(), static_cast<zip_uint64_t>(i), 0)) names.emplace_back(name);
  return names;
}

xls::Status ZipPackage::ReadPartInPieces(const std::string& name,
                                         const std::function<xls::Status(std::string_view)>& take) const {
  std::lock_guard lock(m_impl->mutex);
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
  // The stored size may lie: the bound holds for what actually comes out.
  std::vector<char> piece(kReadChunk);
  uint64_t total = 0;
  for (;;) {
    const zip_int64_t read = zip_fread(file.get(), piece.data(), piece.size());
    if (read < 0) return xls::MakeError("The part " + name + " is damaged: " + zip_file_strerror(file.get()));
    if (read == 0) return xls::Ok{};
    total += static_cast<uint64_t>(read);
    if (total > bound)
      return xls::MakeError("The part " + name + " inflates far beyond the size of the file; it is refused");
    if (auto taken = take(std::string_view(piece.data(), static_cast<size_t>(read))); !taken) return taken;
  }
}

xls::Result<std::string> ZipPackage::ReadPart(const std::string& name) const {
  std::string data;
  auto read = ReadPartInPieces(name, [&](std::string_view piece) {
    data += piece;
    return xls::Status(xls::Ok{});
  });
  if (!read) return read.error();
  return data;
}

xls::Result<std::vector<uint8_t>> ZipPackage::WithParts(const std::map<std::string, std::string>& parts) const {
  std::lock_guard lock(m_impl->mutex);
  zip_t* from = m_impl->archive.get();
  // Each new part takes the place of the member of its name, found without
  // regard to case; the others follow the copied members.
  std::map<zip_uint64_t, const std::pair<const std::string, std::string>*> replacing;
  std::vector<const std::pair<const std::string, std::string>*> appended;
  for (const auto& part : parts) {
    const zip_int64_t index = zip_name_locate(from, part.first.c_str(), ZIP_FL_NOCASE);
    if (index >= 0) replacing[static_cast<zip_uint64_t>(index)] = &part;
    else appended.push_back(&part);
  }
  auto created = NewArchive();
  if (!created) return created.error();
  auto [archive, source] = std::move(*created);
  const zip_int64_t count = zip_get_num_entries(from, 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    const auto index = static_cast<zip_uint64_t>(i);
    auto found = replacing.find(index);
    xls::Status stored = found == replacing.end() ? CopyStored(archive.get(), from, index)
                                                  : AddPart(archive.get(), found->second->first, found->second->second);
    if (!stored) {
      zip_source_free(source);
      return stored.error();
    }
  }
  for (const auto* part : appended)
    if (auto stored = AddPart(archive.get(), part->first, part->second); !stored) {
      zip_source_free(source);
      return stored.error();
    }
  return CloseInto(std::move(archive), source);
}

xls::Result<std::vector<uint8_t>> ZipPackage::Create(const std::vector<std::pair<std::string, std::string>>& parts) {
  auto created = NewArchive();
  if (!created) return created.error();
  auto [archive, source] = std::move(*created);
  for (const auto& [name, data] : parts)
    if (auto stored = AddPart(archive.get(), name, data); !stored) {
      zip_source_free(source);
      return stored.error();
    }
  return CloseInto(std::move(archive), source);
}

}  // namespace xlsx

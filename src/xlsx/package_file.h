// What reading an .xlsx package gives before any sheet is wanted: the
// archive, the shared strings and the sheet list. A sheet's cells are parsed
// when first wanted and kept here. Workbooks opened again on the same file,
// unchanged on disk, share all of it, so a switch lookup does not read and
// parse the package again.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "workbook/byte_source.h"
#include "workbook/grid.h"
#include "workbook/result.h"
#include "xlsx/package_layout.h"
#include "xlsx/zip_package.h"

namespace xlsx {

struct ListedSheet {
  std::u16string name;
  std::string part;       // the worksheet part; empty for other sheet kinds and unusable sheets
  bool worksheet = false;
  std::string unusable;   // why the sheet cannot be read, or "" when it can
};

class PackageFile {
 public:
  static xls::Result<std::shared_ptr<const PackageFile>> Parse(std::vector<uint8_t> bytes);

  // The package last read from `path`, when the file is still exactly the
  // one read (same identity, size and change times); otherwise it is read
  // again. `path` is UTF-8.
  static xls::Result<std::shared_ptr<const PackageFile>> ReadShared(const std::string& path);

  const ZipPackage& package() const { return m_package; }
  const std::string& workbook_part() const { return m_workbook_part; }
  // Every sheet of the workbook's sheet list, in its order, of every kind.
  const std::vector<ListedSheet>& sheets() const { return m_sheets; }

  // Why the part of sheets()[index] cannot be rewritten on its own, or ""
  // when it can: a part that another sheet or the package's structure also
  // uses would change them too.
  std::string SharedUseOf(size_t index) const;

  // The cells of sheets()[index], parsed the first time.
  xls::Result<std::shared_ptr<const xls::Grid>> Cells(size_t index) const;

  // For a package read from a file: fails when the file on disk is no
  // longer the one read, so that another program's change is not overwritten.
  xls::Status CheckUnchanged() const;

  explicit PackageFile(ZipPackage package) : m_package(std::move(package)) {}

 private:
  xls::Status load();
  xls::Status load_strings(const std::vector<Relationship>& rels);
  xls::Status load_sheets(const std::vector<Relationship>& rels);

  ZipPackage m_package;
  std::string m_workbook_part;
  std::vector<std::string> m_structure_parts;  // parts read to find the sheets and their texts
  std::vector<std::u16string> m_strings;
  bool m_strings_present = true;  // false when the workbook names a string table it lacks
  std::vector<ListedSheet> m_sheets;
  std::string m_path;
  std::optional<xls::FileIdentity> m_identity;

  mutable std::mutex m_mutex;
  mutable std::map<size_t, std::shared_ptr<const xls::Grid>> m_cells;
};

}  // namespace xlsx

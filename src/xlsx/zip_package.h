// The ZIP container of a workbook, through libzip. Reading a part inflates
// at most a bound proportional to the archive's size, so a small file cannot
// claim a large amount of memory. Writing copies every part that is not
// replaced as it was stored, compressed bytes and all.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "workbook/result.h"

namespace xlsx {

class ZipPackage {
 public:
  // The archive's bytes are kept by the package.
  static xls::Result<ZipPackage> Open(std::vector<uint8_t> bytes);
  ZipPackage(ZipPackage&&) noexcept;
  ZipPackage& operator=(ZipPackage&&) noexcept;
  ~ZipPackage();

  // Part names are matched without regard to case, as the package rules say.
  bool HasPart(const std::string& name) const;
  // Every member's name, in archive order.
  std::vector<std::string> PartNames() const;
  // A missing part gives an error of kind NotFound.
  xls::Result<std::string> ReadPart(const std::string& name) const;
  // The part's bytes handed to `take` piece by piece as they inflate, so a
  // large part is never held whole; reading stops at the first error `take` gives.
  xls::Status ReadPartInPieces(const std::string& name,
                               const std::function<xls::Status(std::string_view)>& take) const;

  // A new archive with `parts` replacing the parts of those names or added
  // after the others; every other part is copied as it was stored. The
  // package itself is never changed, so a failure leaves nothing half done.
  xls::Result<std::vector<uint8_t>> WithParts(const std::map<std::string, std::string>& parts) const;

  // A new archive holding `parts` in the given order.
  static xls::Result<std::vector<uint8_t>> Create(const std::vector<std::pair<std::string, std::string>>& parts);

 private:
  struct Impl;
  explicit ZipPackage(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> m_impl;
};

}  // namespace xlsx

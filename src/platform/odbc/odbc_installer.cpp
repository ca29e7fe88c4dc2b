#include "platform/odbc/odbc_installer.h"

#include <cstring>
#include <string_view>

int SQLGetInstalledDrivers(char* buffer, unsigned short size, unsigned short* count) {
  static constexpr std::string_view kList("Microsoft Excel Driver (*.xls)\0Microsoft Text Driver (*.txt; *.csv)\0\0", 69);
  static_assert(kList.size() == 69);
  if (buffer == nullptr || size < kList.size()) return 0;
  std::memcpy(buffer, kList.data(), kList.size());
  if (count != nullptr) *count = static_cast<unsigned short>(kList.size());
  return 1;
}

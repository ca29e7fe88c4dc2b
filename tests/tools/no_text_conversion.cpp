// Preloaded into a program to stand for a system without the character
// conversions the program needs: every iconv_open fails as glibc's does when
// a conversion module is missing.
#include <errno.h>
#include <iconv.h>

extern "C" iconv_t iconv_open(const char*, const char*) {
  errno = EINVAL;
  return reinterpret_cast<iconv_t>(-1);
}

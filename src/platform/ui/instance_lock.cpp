#include "platform/ui/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "platform/text/encoding.h"

namespace {

DWORD g_lastError = ERROR_SUCCESS;

// A folder only this user can write to, or empty.
std::string RuntimeFolder() {
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) return runtime;
  const std::string folder = "/tmp/loadcalc-" + std::to_string(getuid());
  mkdir(folder.c_str(), 0700);
  struct stat info {};
  if (lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != getuid())
    return std::string();
  return folder;
}

// File names cannot hold "/": the name is kept readable otherwise.
std::string FileNameOf(const CString& name) {
  std::string file = ToUtf8(name);
  for (char& c : file)
    if (c == '/') c = '_';
  return file;
}

}  // namespace

CString MutexLockPath(const CString& name) {
  const std::string folder = RuntimeFolder();
  if (folder.empty()) return CString();
  return FromUtf8(folder + "/" + FileNameOf(name) + ".lock");
}

HANDLE CreateMutex(void* /*security*/, BOOL /*initialOwner*/, LPCTSTR name) {
  g_lastError = ERROR_SUCCESS;
  const CString path = MutexLockPath(CString(name));
  if (path.IsEmpty()) return nullptr;
  const int fd = open(ToUtf8(path).c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return nullptr;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno == EWOULDBLOCK) g_lastError = ERROR_ALREADY_EXISTS;
  }
  // The descriptor stays open: the lock is held until the process ends.
  return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(fd) + 1);
}

DWORD GetLastError() { return g_lastError; }

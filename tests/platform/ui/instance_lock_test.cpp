// The single-instance lock across real processes: a second holder of the
// same name is told so, other names are free, and the lock goes with the
// process that held it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/ui/instance_lock.h"
#include "../../support/temp_folder.h"

namespace {

class InstanceLockTest : public testing::Test {
 protected:
  void SetUp() override {
    const char* previous = std::getenv("XDG_RUNTIME_DIR");
    saved = previous ? previous : "";
    hadRuntime = previous != nullptr;
    setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
  }
  void TearDown() override {
    if (hadRuntime) setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
    else unsetenv("XDG_RUNTIME_DIR");
  }

  // What a fresh process sees when it asks for the name: its last error.
  static DWORD InOtherProcess(const char* name) {
    const pid_t child = fork();
    if (child == 0) {
      HANDLE handle = CreateMutex(nullptr, TRUE, name);
      _exit(handle == nullptr ? 2 : (GetLastError() == ERROR_ALREADY_EXISTS ? 1 : 0));
    }
    int status = 0;
    waitpid(child, &status, 0);
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 3;
    return code == 1 ? ERROR_ALREADY_EXISTS : code == 0 ? ERROR_SUCCESS : 0xFFFFFFFF;
  }

  ::test::TempFolder m_temp{"loadcalc-lock"};
  const std::string folder = m_temp.Path().string();
  std::string saved;
  bool hadRuntime = false;
};

TEST_F(InstanceLockTest, SecondProcessOfTheSameNameFindsItTakenOtherNamesAreFree) {
  EXPECT_EQ(InOtherProcess("loadcalc"), ERROR_SUCCESS);  // nobody holds it yet

  ASSERT_NE(CreateMutex(nullptr, TRUE, "loadcalc"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  EXPECT_EQ(InOtherProcess("loadcalc"), ERROR_ALREADY_EXISTS);
  EXPECT_EQ(InOtherProcess("loadcalc2"), ERROR_SUCCESS);  // a copy under another file name
  EXPECT_EQ(InOtherProcess("loadcalc"), ERROR_ALREADY_EXISTS);  // still held
  EXPECT_EQ(std::filesystem::path(MutexLockPath("loadcalc").GetString()).parent_path(), folder);
}

TEST_F(InstanceLockTest, TheLockEndsWithTheProcessThatHeldItHoweverItEnds) {
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t holder = fork();
  if (holder == 0) {
    close(ready[0]);
    CreateMutex(nullptr, TRUE, "holder");
    const char byte = GetLastError() == ERROR_SUCCESS ? 'y' : 'n';
    if (write(ready[1], &byte, 1) != 1) _exit(1);
    pause();  // killed below, never ends on its own
    _exit(0);
  }
  close(ready[1]);
  char byte = 0;
  ASSERT_EQ(read(ready[0], &byte, 1), 1);
  close(ready[0]);
  EXPECT_EQ(byte, 'y');
  EXPECT_EQ(InOtherProcess("holder"), ERROR_ALREADY_EXISTS);

  kill(holder, SIGKILL);
  waitpid(holder, nullptr, 0);
  EXPECT_EQ(InOtherProcess("holder"), ERROR_SUCCESS);
}

TEST_F(InstanceLockTest, NamesWithSlashesStayInTheRuntimeFolder) {
  const std::filesystem::path path = MutexLockPath("../etc/passwd").GetString();
  EXPECT_EQ(path.parent_path(), folder);
  ASSERT_NE(CreateMutex(nullptr, TRUE, "../etc/passwd"), nullptr);
  EXPECT_TRUE(std::filesystem::exists(path));
}

TEST_F(InstanceLockTest, ALockFolderOwnedByNoOneElseIsRequired) {
  // Without a runtime folder the lock lives in /tmp/loadcalc-<uid>, made
  // private to the user.
  unsetenv("XDG_RUNTIME_DIR");
  const std::filesystem::path path = MutexLockPath("loadcalc").GetString();
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(path.parent_path(), "/tmp/loadcalc-" + std::to_string(getuid()));
  const auto permissions = std::filesystem::status(path.parent_path()).permissions();
  EXPECT_EQ(permissions & (std::filesystem::perms::group_all | std::filesystem::perms::others_all),
            std::filesystem::perms::none);
}

}  // namespace

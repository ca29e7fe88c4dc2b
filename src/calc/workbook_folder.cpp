#include "calc/workbook_folder.h"

#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

namespace fs = std::filesystem;

namespace {

std::string Quoted(const fs::path& path) { return "\"" + path.string() + "\""; }

std::string SystemError() { return std::strerror(errno); }

bool HoldsFile(const fs::path& file) {
  std::error_code error;
  return fs::is_regular_file(file, error);
}

bool IsProgramFolderTheHome(const WorkbookFolderFacts& facts) {
  if (HoldsFile(facts.programFolder / kInputWorkbookFile)) return true;
  // An installed copy's folder belongs to the package manager, even for a
  // user (root) whom the permissions would let write there.
  if (HoldsFile(facts.installedSample)) return false;
  return facts.mayWrite && facts.mayWrite(facts.programFolder);
}

// $XDG_DATA_HOME/loadcalc, else $HOME/.local/share/loadcalc; empty when
// neither is known. A relative path in either is not valid and is ignored:
// it would put the folder wherever the program happens to be started.
fs::path UserDataFolder(const WorkbookFolderFacts& facts) {
  if (!facts.xdgDataHome.empty() && fs::path(facts.xdgDataHome).is_absolute())
    return fs::path(facts.xdgDataHome) / kProgramDataName;
  if (!facts.home.empty() && fs::path(facts.home).is_absolute())
    return fs::path(facts.home) / ".local" / "share" / kProgramDataName;
  return {};
}

// Copies `from` to `to` through a complete temporary file in the target's
// folder; the link into place fails rather than replace a workbook that
// appeared meanwhile (two copies of the program starting at once).
std::string CopyWithoutReplacing(const fs::path& from, const fs::path& to) {
  std::string temporary = (to.parent_path() / ("." + to.filename().string() + ".XXXXXX")).string();
  const int fd = mkstemp(temporary.data());
  if (fd < 0) return "cannot create a file in " + Quoted(to.parent_path()) + ": " + SystemError();
  close(fd);
  std::error_code error;
  fs::copy_file(from, temporary, fs::copy_options::overwrite_existing, error);
  if (!error)
    fs::permissions(temporary, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, error);
  std::string failure;
  if (error)
    failure = "cannot copy the sample workbook " + Quoted(from) + " to " + Quoted(to) + ": " + error.message();
  else if (link(temporary.c_str(), to.c_str()) != 0 && errno != EEXIST)
    failure = "cannot put the sample workbook at " + Quoted(to) + ": " + SystemError();
  unlink(temporary.c_str());
  return failure;
}

// Creates the folder and gives it the sample workbook when it has none.
std::string PrepareUserDataFolder(const fs::path& folder, const fs::path& sample) {
  std::error_code error;
  fs::create_directories(folder, error);
  if (error) return "cannot create the folder " + Quoted(folder) + ": " + error.message();
  const fs::path workbook = folder / kInputWorkbookFile;
  if (HoldsFile(workbook)) return {};
  if (!HoldsFile(sample)) return "no sample workbook at " + Quoted(sample) + " to copy to " + Quoted(workbook);
  return CopyWithoutReplacing(sample, workbook);
}

}  // namespace

WorkbookFolderChoice ChooseWorkbookFolder(const WorkbookFolderFacts& facts) {
  if (IsProgramFolderTheHome(facts)) return {facts.programFolder, {}};
  const fs::path folder = UserDataFolder(facts);
  if (folder.empty())
    return {facts.programFolder, "no folder for the workbook: neither XDG_DATA_HOME nor HOME is set to an absolute path"};
  return {folder, PrepareUserDataFolder(folder, facts.installedSample)};
}

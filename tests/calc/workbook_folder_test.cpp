#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "../support/temp_folder.h"
#include "calc/program_folder.h"
#include "calc/workbook_folder.h"
#include "platform/text/encoding.h"

namespace {

namespace fs = std::filesystem;

void WriteFile(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// An installed copy's layout in a folder of its own: <root>/usr/bin holds
// the program, <root>/usr/share/loadcalc the sample, <root>/home the
// user's home. Whether the program folder may be written is the test's
// choice, so the case holds for root as for any user.
class WorkbookFolderTest : public ::testing::Test {
 protected:
  test::TempFolder root{"loadcalc-workbook-folder"};
  fs::path bin = root.path("usr/bin");
  fs::path sample = root.path("usr/share/loadcalc") / kInputWorkbookFile;
  fs::path home = root.path("home");
  bool programFolderWritable = false;

  void SetUp() override {
    fs::create_directories(bin);
    fs::create_directories(home);
    WriteFile(sample, "the sample workbook");
  }

  WorkbookFolderFacts Facts() {
    WorkbookFolderFacts facts;
    facts.programFolder = bin;
    facts.installedSample = sample;
    facts.home = home.string();
    facts.mayWrite = [this](const fs::path& folder) {
      EXPECT_EQ(folder, bin);
      return programFolderWritable;
    };
    return facts;
  }

  fs::path UserFolder() const { return home / ".local/share/loadcalc"; }
};

TEST_F(WorkbookFolderTest, ProgramFolderHoldingTheWorkbookStaysItsHome) {
  WriteFile(bin / kInputWorkbookFile, "the user's own");
  const WorkbookFolderChoice choice = ChooseWorkbookFolder(Facts());
  EXPECT_EQ(choice.folder, bin);
  EXPECT_EQ(choice.error, "");
  EXPECT_FALSE(fs::exists(home / ".local"));
}

TEST_F(WorkbookFolderTest, WritableFolderOfACopyThatIsNotInstalledStaysItsHome) {
  fs::remove(sample);  // a build folder has no share/loadcalc beside it
  programFolderWritable = true;
  const WorkbookFolderChoice choice = ChooseWorkbookFolder(Facts());
  EXPECT_EQ(choice.folder, bin);
  EXPECT_EQ(choice.error, "");
  EXPECT_FALSE(fs::exists(home / ".local"));
}

TEST_F(WorkbookFolderTest, ReadOnlyProgramFolderWithoutWorkbookGivesTheUsersDataFolderWithTheSample) {
  const WorkbookFolderChoice choice = ChooseWorkbookFolder(Facts());
  EXPECT_EQ(choice.folder, UserFolder());
  EXPECT_EQ(choice.error, "");
  EXPECT_EQ(ReadFile(UserFolder() / kInputWorkbookFile), "the sample workbook");
  // Only the workbook: the temporary copy is gone, and the copy is the
  // user's to change (the read adds a backup sheet to it).
  EXPECT_EQ(std::distance(fs::directory_iterator(UserFolder()), fs::directory_iterator()), 1);
  const fs::perms perms = fs::status(UserFolder() / kInputWorkbookFile).permissions();
  EXPECT_NE(perms & fs::perms::owner_write, fs::perms::none);
}

TEST_F(WorkbookFolderTest, InstalledCopysFolderIsNotWrittenEvenWhenThePermissionsWouldAllowIt) {
  programFolderWritable = true;  // root may write /usr/bin
  const WorkbookFolderChoice choice = ChooseWorkbookFolder(Facts());
  EXPECT_EQ(choice.folder, UserFolder());
  EXPECT_TRUE(fs::is_regular_file(UserFolder() / kInputWorkbookFile));
}

TEST_F(WorkbookFolderTest, UsersOwnWorkbookIsNeverReplacedByTheSample) {
  WriteFile(UserFolder() / kInputWorkbookFile, "circuits the user entered");
  for (int start = 0; start < 2; ++start) {
    const WorkbookFolderChoice choice = ChooseWorkbookFolder(Facts());
    EXPECT_EQ(choice.error, "");
    EXPECT_EQ(ReadFile(UserFolder() / kInputWorkbookFile), "circuits the user entered");
  }
}

TEST_F(WorkbookFolderTest, XdgDataHomeWinsOverHomeWhenAbsolute) {
  WorkbookFolderFacts facts = Facts();
  facts.xdgDataHome = root.path("data").string();
  EXPECT_EQ(ChooseWorkbookFolder(facts).folder, root.path("data/loadcalc"));
  EXPECT_TRUE(fs::is_regular_file(root.path("data/loadcalc") / kInputWorkbookFile));

  facts.xdgDataHome = "relative/data";  // not valid: ignored
  EXPECT_EQ(ChooseWorkbookFolder(facts).folder, UserFolder());
  EXPECT_FALSE(fs::exists("relative"));
}

TEST_F(WorkbookFolderTest, ARelativeHomeIsNotUsed) {
  WorkbookFolderFacts facts = Facts();
  facts.home = "relative-home";
  const WorkbookFolderChoice choice = ChooseWorkbookFolder(facts);
  EXPECT_EQ(choice.folder, bin);
  EXPECT_NE(choice.error.find("absolute"), std::string::npos) << choice.error;
  EXPECT_FALSE(fs::exists("relative-home"));
}

TEST_F(WorkbookFolderTest, FailuresToPrepareTheFolderAreReportedWithTheirPlace) {
  WorkbookFolderFacts facts = Facts();
  facts.home.clear();
  WorkbookFolderChoice choice = ChooseWorkbookFolder(facts);
  EXPECT_EQ(choice.folder, bin);
  EXPECT_NE(choice.error.find("neither XDG_DATA_HOME nor HOME"), std::string::npos) << choice.error;

  // A file where the folder should be: refused for root as for anyone.
  WriteFile(root.path("blocked"), "");
  facts.xdgDataHome = root.path("blocked").string();
  choice = ChooseWorkbookFolder(facts);
  EXPECT_EQ(choice.folder, root.path("blocked/loadcalc"));
  EXPECT_NE(choice.error.find("cannot create the folder \"" + root.path("blocked/loadcalc").string() + "\""),
            std::string::npos)
      << choice.error;

  fs::remove(sample);
  choice = ChooseWorkbookFolder(Facts());
  EXPECT_EQ(choice.folder, UserFolder());
  EXPECT_NE(choice.error.find("no sample workbook at \"" + sample.string() + "\""), std::string::npos)
      << choice.error;
  EXPECT_FALSE(fs::exists(UserFolder() / kInputWorkbookFile));
}

// The tests run from the build folder, beside the sample workbook: nothing
// changes there.
TEST(WorkbookFolder, IsTheProgramFolderWhenRunFromTheBuildFolder) {
  EXPECT_EQ(ToUtf8(GetWorkbookFolder()), ToUtf8(GetProgramFolder()));
}

}  // namespace

// The POSIX file system seen as Windows would show it: names match ignoring letter case, and
// names Windows refuses are refused here too.

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/files.h"
#include "tests/support/Disk.h"

namespace qb::test {
namespace {

TEST(PosixFiles, TheLookupFindsFilesAndFoldersIgnoringCasePreferringAnExactMatch) {
  TempFolder temp;
  std::filesystem::create_directory(temp / "Desktop");
  writeFile(temp / "notes.TXT");
  std::filesystem::create_directory(temp / "same");
  std::filesystem::create_directory(temp / "SAME");
  EXPECT_EQ(files::lookup(temp / "DESKTOP"), "Desktop");
  EXPECT_EQ(files::lookup(temp / "notes.txt"), "notes.TXT");
  EXPECT_EQ(files::lookup(temp / "SAME"), "SAME");
  EXPECT_EQ(files::lookup(temp / "desktop/Nothing"), "");
  EXPECT_EQ(files::lookup(temp / "notes.txt/inside"), "");
  EXPECT_EQ(files::lookup(temp / "ÄRGER"), "");
  std::filesystem::create_directory(temp / "ärger");
  EXPECT_EQ(files::lookup(temp / "ÄRGER"), "ärger");
  EXPECT_EQ(files::lookup(temp / "DESKTOP/../desktop"), "Desktop");
}

TEST(PosixFiles, MakingAFolderFollowsTheExistingLetterCaseAndRefusesDuplicates) {
  TempFolder temp;
  std::filesystem::create_directory(temp / "Project");
  files::makeFolder(temp / "PROJECT/Images");
  EXPECT_TRUE(isFolder(temp / "Project/Images"));
  EXPECT_THROW(files::makeFolder(temp / "project/IMAGES"), PlatformError);
  EXPECT_THROW(files::makeFolder(temp / "tab\there"), PlatformError);
  EXPECT_EQ(tree(temp.path()), (std::vector<std::string>{"Project/", "Project/Images/"}));
}

TEST(PosixFiles, TheFolderListPathIsCleanedAndMustBeAFolder) {
  TempFolder temp;
  std::filesystem::create_directory(temp / "Sub");
  writeFile(temp / "file");
  EXPECT_EQ(files::folderPath(temp.path() + "//SUB/"), temp / "Sub");
  EXPECT_THROW(files::folderPath(temp / "file"), PlatformError);
  EXPECT_THROW(files::folderPath(temp / "missing"), PlatformError);
  // "." and ".." as the system takes them: ".." after a link leads above the link's target.
  std::filesystem::create_directories(temp / "Sub/Inner");
  std::filesystem::create_directory_symlink(temp / "Sub/Inner", temp / "link");
  EXPECT_EQ(files::folderPath(temp.path() + "/Sub/./../SUB/."), temp / "Sub");
  EXPECT_EQ(files::folderPath(temp / "link/.."), temp / "Sub");
  EXPECT_TRUE(files::sameFolder(temp / "link", temp / "Sub/Inner"));
  EXPECT_FALSE(files::sameFolder(temp / "file", temp / "file"));
  // A name that is not UTF-8 would reach the path box changed; the program's own folder too.
  std::filesystem::create_directory(temp / "caf\xE9");
  EXPECT_THROW(files::folderPath(temp / "caf\xE9"), PlatformError);
  EXPECT_EQ(files::ancestors(temp / "Sub").back(), temp / "Sub");
  EXPECT_EQ(files::ancestors("/"), std::vector<std::string>{"/"});
  EXPECT_EQ(files::drives().front(), "/");
  EXPECT_EQ(files::driveOf(temp.path()), files::driveOf("/"));
}

}  // namespace
}  // namespace qb::test

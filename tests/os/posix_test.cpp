// The POSIX file system seen as Windows would show it, in what the stories cannot reach: names
// that differ only in letter case, letters beyond ASCII, odd separators, and ".." after a link.

#include <gtest/gtest.h>

#include <filesystem>

#include <locale.h>
#include <wctype.h>

#include "platform/files.h"
#include "platform/posix/text.h"
#include "shortcut/MakeLink.h"
#include "tests/support/Disk.h"

namespace qb::test {
namespace {

TEST(PosixFiles, PathsAreFoundIgnoringCaseAndCleanedAsTheSystemTakesThem) {
  TempFolder temp;
  for (const char* folder :
       {"Desktop", "same", "SAME", "ärger", "Sub/Inner", "Project/Images", "οδος", "İstanbul"})
    makeFolders(temp / folder);
  writeFile(temp / "notes.TXT");
  std::filesystem::create_directory_symlink(temp / "Sub/Inner", temp / "link");
  EXPECT_EQ(files::lookup(temp / "SAME"), "SAME");  // an exact match first
  EXPECT_EQ(files::lookup(temp / "ÄRGER"), "ärger");
  // Each letter upper-cased on its own, as Windows matches names: the final sigma is a sigma
  // and a dotted capital I is no i.
  EXPECT_EQ(files::lookup(temp / "ΟΔΟΣ"), "οδος");
  EXPECT_EQ(files::lookup(temp / "οδος"), "οδος");
  EXPECT_EQ(files::lookup(temp / "οδοσ"), "οδος");
  EXPECT_EQ(files::lookup(temp / "istanbul"), "");
  EXPECT_EQ(files::lookup(temp / "sub/INNER"), "Inner");
  EXPECT_EQ(files::lookup(temp / "DESKTOP/../desktop"), "Desktop");
  EXPECT_EQ(files::lookup(temp / "notes.txt/inside"), "");
  EXPECT_THROW(files::makeFolder(temp / "project/IMAGES"), PlatformError);
  EXPECT_EQ(tree(temp / "Project"), std::vector<std::string>{"Images/"});
  EXPECT_EQ(files::folderPath(temp.path() + "//SUB/"), temp / "Sub");
  EXPECT_EQ(files::folderPath(temp.path() + "/Sub/./../SUB/."), temp / "Sub");
  // ".." after a link leads above the link's target, as the system goes.
  EXPECT_EQ(files::folderPath(temp / "link/.."), temp / "Sub");
  EXPECT_THROW(files::folderPath(temp / "notes.TXT"), PlatformError);
  EXPECT_TRUE(files::sameFolder(temp / "link", temp / "Sub/Inner"));
  EXPECT_FALSE(files::sameFolder(temp / "notes.TXT", temp / "notes.TXT"));
  EXPECT_EQ(files::ancestors("/a/b"), (std::vector<std::string>{"/", "/a", "/a/b"}));
  EXPECT_EQ(files::ancestors("/"), std::vector<std::string>{"/"});
  EXPECT_EQ(files::drives().front() + files::driveOf(temp.path()), "//");
  // What no form asks for, refused all the same: a folder whose path has a line break in it, a
  // name with a separator, and a shortcut from a relative folder or with arguments.
  EXPECT_THROW(files::makeFolder(temp / "a\nb/c"), PlatformError);
  EXPECT_NE(files::nameProblem("a/b").find("separates"), std::string::npos);
  for (const auto& [folder, arguments] :
       {std::pair{std::string("Sub"), ""}, std::pair{temp / "Sub", "--argument"}}) {
    try {
      MkLink(folder, "Link", temp / "Sub", arguments);
      ADD_FAILURE() << "made";
    } catch (const PlatformError& error) {
      EXPECT_NE(error.reason().find(*arguments ? "arguments" : "full path"), std::string::npos);
    }
  }
}

// The letter-case rule, each character upper-cased on its own as Windows does, against the C
// library's own towupper over every code point there is.
TEST(PosixFiles, LetterCaseIsEachCharactersUpperCaseAsTheCLibraryHasIt) {
  const locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
  ASSERT_TRUE(unicode);
  const auto utf8 = [](char32_t c) {
    const std::u8string text = std::filesystem::path(std::u32string(1, c)).u8string();
    return std::string(text.begin(), text.end());
  };
  int disagreements = 0;
  for (char32_t c = 1; c <= 0x10FFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    const char32_t upper = static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), unicode));
    if (files::posix::fold(utf8(c)) != utf8(upper) && ++disagreements < 10)
      ADD_FAILURE() << "U+" << std::hex << static_cast<unsigned>(c);
  }
  freelocale(unicode);
}

// The desktop's user folders, from user-dirs.dirs: "$HOME" is the home folder, "$HOMEx" is no
// folder in it, and a folder not named there is the usual one in the home folder.
TEST(PosixFiles, TheUserFoldersAreWhereTheDesktopSays) {
  TempFolder temp;
  const ScopedEnvironment home("HOME", (temp / "home").c_str());
  const ScopedEnvironment config("XDG_CONFIG_HOME", temp.path().c_str());
  writeFile(temp / "user-dirs.dirs",
            "# by the desktop\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
            "XDG_DOCUMENTS_DIR=\"$HOMEx/docs\"\n");
  EXPECT_EQ(files::userFolder(files::UserFolder::Desktop), temp / "home/Schreibtisch");
  EXPECT_EQ(files::userFolder(files::UserFolder::Documents), temp / "home/Documents");
}

}  // namespace
}  // namespace qb::test

// Shortcuts on Windows, in what the stories cannot reach: folders beyond MAX_PATH, names Windows
// keeps for devices, a folder given as a relative path, and the link layer itself, which never
// replaces what is there.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/files.h"
#include "shortcut/MakeLink.h"
#include "shortcut/ShellLink.h"
#include "tests/support/Disk.h"

namespace qb::test {
namespace {

TEST(WinShortcut, ShortcutsAreMadeOnlyWhereTheyLeadToTheProjectAndNothingIsReplaced) {
  TempFolder temp;
  makeFolders(temp / "Project");
  makeFolders(temp / "Links");
  writeFile(temp / "notes.txt");
  writeFile(temp / "Links/notes.LNK");
  const std::string links = temp / "Links", project = temp / "Project";
  // Windows itself cannot make or remove these without the \\?\ form.
  std::vector<std::string> deep{temp.path()};
  while (deep.back().size() <= MAX_PATH) {
    deep.push_back(deep.back() + "\\Deep " + std::string(50, 'd'));
    files::makeFolder(deep.back());
  }
  MkLink(deep.back(), "Project", project, "");
  EXPECT_EQ(files::lookup(deep.back() + "\\PROJECT.LNK"), "Project.lnk");

  struct Case {
    std::string folder, name, target;
    std::string named;   // the path the refusal names, or begins with
    const char* reason;  // words of the reason
  };
  const std::vector<Case> cases{
      // A shortcut that cannot hold a project folder this deep would lead nowhere.
      {links, "Back", deep.back(), files::folderPath(links), ""},
      {links, "Link", temp / "notes.txt", temp / "notes.txt", "not there any more"},
      {"Links", "Link", project, "Links", "full path"},
      {links, "", project, links, "name"},
      {links, "lpt1.txt", project, links, "\"lpt1\""},
      {links, "one\\two", project, links, "\"\\\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name + " in " + c.folder + " to " + c.target);
    try {
      MkLink(c.folder, c.name, c.target, "");
      ADD_FAILURE() << "made";
    } catch (const PlatformError& error) {
      EXPECT_EQ(error.path().rfind(c.named, 0), 0u) << error.path();
      EXPECT_NE(error.reason().find(c.reason), std::string::npos) << error.reason();
    }
  }
  // The link layer never replaces what is there, even what appeared after MkLink looked.
  for (const char* name : {"\\notes.LNK", "\\NOTES.lnk"})
    EXPECT_THROW(shell::makeLink(files::folderPath(links) + name, project, ""), PlatformError);
  EXPECT_EQ(readFile(temp / "Links/notes.LNK"), "keep me");
  EXPECT_EQ(tree(links), std::vector<std::string>{"notes.LNK"});

  EXPECT_TRUE(DeleteFileW((L"\\\\?\\" + u8(deep.back() + "\\Project.lnk").wstring()).c_str()));
  for (std::size_t i = deep.size() - 1; i > 0; --i)
    EXPECT_TRUE(RemoveDirectoryW((L"\\\\?\\" + u8(deep[i]).wstring()).c_str())) << deep[i];
}

}  // namespace
}  // namespace qb::test

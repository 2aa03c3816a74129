// Shortcuts on Windows: .lnk files that the shell reads back, made only where nothing has the
// name yet, in any letter case.

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

// The refusal MkLink gave; a default one (no path, no reason) when it made the shortcut.
PlatformError refusal(const std::string& folder, const std::string& name,
                      const std::string& target) {
  try {
    MkLink(folder, name, target, "");
  } catch (const PlatformError& error) {
    return error;
  }
  return PlatformError("", "");
}

TEST(WinShortcut, AShortcutNamedInAnyScriptLeadsToTheProjectFolder) {
  TempFolder temp;
  makeFolders(temp / "Project");
  makeFolders(temp / "Desktop");
  const std::string name = "Проект 项目 🚀";
  MkLink(temp / "DESKTOP", name, temp / "project", "");
  EXPECT_EQ(tree(temp / "Desktop"), std::vector<std::string>{name + ".lnk"});
  // The shortcut holds the project folder as it is on disk.
  EXPECT_EQ(shortcutTarget(temp / "Desktop", name), files::folderPath(temp / "Project"));
}

TEST(WinShortcut, AShortcutCanBeMadeInAFolderBeyondMaxPath) {
  TempFolder temp;
  makeFolders(temp / "Project");
  std::vector<std::string> made;
  std::string folder = temp.path();
  while (folder.size() <= MAX_PATH) {
    folder += "\\Deep " + std::string(50, 'd');
    files::makeFolder(folder);
    made.push_back(folder);
  }
  MkLink(folder, "Project", temp / "Project", "");
  EXPECT_EQ(files::lookup(folder + "\\PROJECT.LNK"), "Project.lnk");
  // A shortcut that cannot hold a project folder this deep would lead nowhere: none is left.
  EXPECT_THROW(MkLink(temp.path(), "Back", folder, ""), PlatformError);
  EXPECT_EQ(files::lookup(temp / "Back.lnk"), "");

  // Windows itself cannot remove these without the \\?\ form either.
  EXPECT_TRUE(DeleteFileW((L"\\\\?\\" + u8(folder + "\\Project.lnk").wstring()).c_str()));
  for (auto it = made.rbegin(); it != made.rend(); ++it) {
    EXPECT_TRUE(RemoveDirectoryW((L"\\\\?\\" + u8(*it).wstring()).c_str())) << *it;
  }
}

TEST(WinShortcut, NothingThatAlreadyHasTheNameIsReplaced) {
  TempFolder temp;
  makeFolders(temp / "Project");
  makeFolders(temp / "Other");
  makeFolders(temp / "Links");
  MkLink(temp / "Links", "First", temp / "Project", "");
  const std::string first = readFile(temp / "Links/First.lnk");
  ASSERT_FALSE(first.empty());
  writeFile(temp / "Links/notes.LNK", "keep me");
  makeFolders(temp / "Links/Folder.lnk");
  const std::string links = files::folderPath(temp / "Links");

  for (const char* name : {"First", "FIRST", "notes", "Notes", "folder"}) {
    SCOPED_TRACE(name);
    const PlatformError error = refusal(temp / "Links", name, temp / "Other");
    EXPECT_EQ(error.path(), links + "\\" + name + ".lnk");
    EXPECT_NE(error.reason().find("left as it is"), std::string::npos) << error.reason();
    // The same for an entry that appears after MkLink looked: the link layer never replaces it.
    EXPECT_THROW(shell::makeLink(links + "\\" + name + ".lnk", temp / "Other", ""), PlatformError);
  }
  EXPECT_EQ(readFile(temp / "Links/First.lnk"), first);
  EXPECT_EQ(shortcutTarget(temp / "Links", "First"), files::folderPath(temp / "Project"));
  EXPECT_EQ(readFile(temp / "Links/notes.LNK"), "keep me");
  EXPECT_EQ(tree(temp / "Links"),
            (std::vector<std::string>{"First.lnk", "Folder.lnk/", "notes.LNK"}));
}

TEST(WinShortcut, ShortcutsThatCannotBeMadeAreRefusedNamingWhatAndWhy) {
  TempFolder temp;
  makeFolders(temp / "Project");
  makeFolders(temp / "Links");
  writeFile(temp / "notes.txt");
  const std::string links = temp / "Links";
  struct Case {
    const char* story;
    std::string folder, name, target;
    std::string named;   // what the refusal names, or begins with
    const char* reason;  // words of the reason
  };
  const std::vector<Case> cases{
      {"a project folder that has gone", links, "Link", temp / "Gone", temp / "Gone",
       "not there any more"},
      {"a file as the project folder", links, "Link", temp / "notes.txt", temp / "notes.txt",
       "not there any more"},
      {"a folder that does not exist", temp / "Nowhere", "Link", temp / "Project", temp / "Nowhere",
       ""},
      {"a file as the folder", temp / "notes.txt", "Link", temp / "Project", temp / "notes.txt",
       "not a folder"},
      {"a folder that is not a full path", "Links", "Link", temp / "Project", "Links", "full path"},
      {"no name", links, "", temp / "Project", links, "name"},
      {"a device name", links, "CON", temp / "Project", links, "\"CON\""},
      {"a device name with an extension", links, "lpt1.txt", temp / "Project", links, "\"lpt1\""},
      {"a slash", links, "one/two", temp / "Project", links, "\"/\""},
      {"a backslash", links, "one\\two", temp / "Project", links, "\"\\\""},
      {"a colon", links, "a:b", temp / "Project", links, "\":\""},
      {"a wildcard", links, "a*b", temp / "Project", links, "\"*\""},
      {"a trailing dot", links, "trailing.", temp / "Project", links, "dot"},
      {"a trailing space", links, "trailing ", temp / "Project", links, "space"},
      {"a tab", links, "tab\there", temp / "Project", links, "control"},
      {"a name longer than the file system allows", links, std::string(300, 'n'), temp / "Project",
       links, ""},
  };
  const std::vector<std::string> before = tree(temp.path());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.story);
    const PlatformError error = refusal(c.folder, c.name, c.target);
    EXPECT_EQ(error.path().rfind(c.named, 0), 0u) << error.path();
    EXPECT_FALSE(error.reason().empty());
    EXPECT_NE(error.reason().find(c.reason), std::string::npos) << error.reason();
  }
  EXPECT_EQ(tree(temp.path()), before);
}

}  // namespace
}  // namespace qb::test

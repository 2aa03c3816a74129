// Windows' naming rules and path grammar as pure text, so they run on every platform.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/windows/names.h"
#include "platform/windows/paths.h"

namespace qb::windows {
namespace {

TEST(WindowsRules, NamesAsTheFileWillBeMade) {
  struct Case {
    std::string name;
    bool taken;
  };
  const std::vector<Case> cases{
      {"a..lnk", true},   {"a .lnk", true},        {"a.", false},      {"a ", false},
      {"CON.lnk", false}, {"con-notes.lnk", true}, {"a|b.lnk", false}, {"%USERNAME% notes", true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(nameProblem(c.name).empty(), c.taken) << c.name;
}

TEST(WindowsRules, APathThroughANameWindowsWouldChangeNamesThatFolder) {
  const std::vector<std::pair<std::string, std::string>> cases{
      {"C:\\Work.\\Proj", "C:\\Work."},
      {"C:\\Work \\Proj", "C:\\Work "},
      {"C:/a/Work./Proj", "C:/a/Work."},
      {"C:\\Work\\Proj.", "C:\\Work\\Proj."},
      {"\\\\server\\share\\x.\\y", "\\\\server\\share\\x."},
      {"C:\\Work\\.\\..\\Proj", ""},
      {"C:\\Work.v2\\Proj", ""},
      {"Work.\\Proj", ""},  // not from a root: made absolute first
  };
  for (const auto& [path, named] : cases)
    EXPECT_EQ(pathProblem(path).first, named) << path;
}

// Access denied there may be Windows' ransomware protection, and the message says so.
TEST(WindowsRules, TheFoldersWindowsGuardsAreTheShellsAndWhatLiesInThem) {
  const std::vector<std::string> guarded{"C:\\Users\\ann\\Documents", "D:\\Desk\\"};
  const std::vector<std::pair<std::string, bool>> cases{
      {"C:\\Users\\ann\\Documents", true}, {"c:/users/ANN/documents/Proj", true},
      {"D:\\Desk\\Link.lnk", true},        {"C:\\Users\\ann\\DocumentsOld", false},
      {"C:\\Users\\ann", false},           {"", false},
  };
  for (const auto& [path, within] : cases)
    EXPECT_EQ(liesWithin(path, guarded), within) << path;
  EXPECT_NE(std::string(kGuardedFolderNote).find("Allow an app through Controlled folder access"),
            std::string::npos);
}

TEST(WindowsRules, OnlyWholeUtf16IsText) {
  const std::vector<std::pair<std::u16string, bool>> cases{
      {u"plain", true},    {u"\U0001F680 rocket", true}, {u"x\xD800", false},
      {u"\xDC01x", false}, {u"\xD800\xD800", false},     {u"", true},
  };
  for (const auto& [units, whole] : cases)
    EXPECT_EQ(isValidUtf16(std::u16string_view(units)), whole);
}

}  // namespace
}  // namespace qb::windows

// Windows' naming rules and path grammar as pure text, so they run on every platform.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/windows/names.h"
#include "platform/windows/paths.h"

namespace qb::windows {
namespace {

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

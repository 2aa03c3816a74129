// Bad input, as users tried it: links that are not what they seem, and quick locations that
// fail. Each refusal says why in "Oops!" and changes nothing.

#ifdef _WIN32
#include <windows.h>
#endif

#include "tests/stories/Story.h"

namespace qb::test {
namespace {

// A link whose target is missing. Wine makes no symbolic links of its own: there the system's ln
// makes one, which wine shows as Windows would not.
bool makeDanglingLink(const std::string& link) {
  if (makeFolderLink(link + "-gone", link)) return true;
#ifdef _WIN32
  const std::size_t cut = link.rfind('\\');
  const std::wstring name = u8(link.substr(cut + 1)).wstring();
  std::wstring command = L"ln -s \"" + name + L"-gone\" \"" + name + L"\"";
  STARTUPINFOW start{};
  start.cb = sizeof start;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(L"Z:\\bin\\ln", command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      u8(link.substr(0, cut)).wstring().c_str(), &start, &process)) {
    return false;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
#else
  return false;
#endif
}

class BadInput : public Story {
 protected:
  // In the picker: New Folder with name, answered, then Done.
  void newFolderIn(const std::string& name, int answer) {
    user().answerNextInput(name);
    user().answerNextMessage(answer);
    user().click("frmGetFolder", "btnNewFolder");
    user().click("frmGetFolder", "btnDone");
  }
};

// A dangling link where a folder should be is named as one, by step 1, New Folder and step 2.
TEST_F(BadInput, ADanglingLinkWhereAFolderShouldBeIsNamedAsOne) {
  makeFolders(temp() / "Links");
  if (!makeDanglingLink(temp() / "gone")) GTEST_SKIP() << "no dangling links here";
  const auto before = tree(temp().path());
  const auto inStep2 = [&] {
    user().type("frmMain2", "Text1", "P");
    user().whenOpens("frmGetFolder", [&] {
      user().type("frmGetFolder", "txtPathlist", temp() / "gone");
      user().click("frmGetFolder", "btnDone");
    });
    user().click("frmMain2", "btnBrowse");
    user().click("frmMain2", "Command1");
    user().click("frmMain2", "btnSkip");
  };
  const auto tries = [&] {
    choose(temp() / "gone");
    pick([&] {
      walkTo(temp().path());
      newFolderIn("gone", kYes);
    });
    user().whenOpens("frmMain2", inStep2);
    choose(temp() / "Proj");
  };
  play(tries);
  ASSERT_EQ(user().asked().size(), 5u);
  for (int i : {0, 3, 4})
    expectOops(user().asked()[i], temp() / "gone", "link whose target is missing");
  removeAll(temp() / "Proj");
  EXPECT_EQ(tree(temp().path()), before);
}

#ifndef _WIN32
// Wine can make no folder that is found but cannot be opened; the handler is the same there.
TEST_F(BadInput, AJumpThatFailsLeavesNewFolderInTheFolderTheListShows) {
  makeFolders(temp() / "caf\xE9/DESKTOP");
  const auto before = tree(temp().path());
  for (const std::string& home : {temp() / "caf\xE9", temp() / std::string(300, 'h')}) {
    ScopedEnvironment drive("HOMEDRIVE", ""), path("HOMEPATH", home.c_str());
    user().answerNextMessage(kOk);  // the "Oops!"
    const auto jump = [&] {
      walkTo(temp().path());
      user().click("frmGetFolder", "btnDesktop");
      newFolderIn("x", kNo);
    };
    play([&] { pick(jump); }, Ending::StaysOpen);
    ASSERT_EQ(user().asked().size(), 3u);
    expectOops(user().asked()[0], home);
    EXPECT_EQ(user().asked()[2].prompt, "Really create:\r\n" + temp() / "x" + " ?");
    EXPECT_EQ(tree(temp().path()), before);
  }
}
#endif

}  // namespace
}  // namespace qb::test

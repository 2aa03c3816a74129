// Bad input, as users tried it: text no name may hold, folders and links that are not what they
// seem, and quick locations that fail. Each refusal says why in "Oops!" and changes nothing.

#ifdef _WIN32
#include <windows.h>
#endif

#include "tests/stories/Story.h"

namespace qb::test {
namespace {

const std::string kSep(1, files::kSeparator);
const char kDangling[] = "link whose target is missing";

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
  // A new run: step 1 makes project, then step 2 names a shortcut, types its folder into the
  // picker and presses DONE; SKIP when step 2 is still open after that.
  void shortcut(const std::string& project, const std::string& name, const std::string& folder) {
    user().whenOpens("frmMain2", [=, this] {
      user().type("frmMain2", "Text1", name);
      user().whenOpens("frmGetFolder", [=, this] {
        user().type("frmGetFolder", "txtPathlist", folder);
        user().click("frmGetFolder", "btnDone");
      });
      user().click("frmMain2", "btnBrowse");
      user().click("frmMain2", "Command1");
      if (user().isOpen("frmMain2")) user().click("frmMain2", "btnSkip");
    });
    play([&] { choose(project); });
  }

  // A new run: in the picker, New Folder in folder with name, answered; what the picker yields.
  std::string newFolder(const std::string& folder, const std::string& name, int answer = kYes) {
    std::string yielded;
    user().answerNextInput(name);
    user().answerNextMessage(answer);
    play(
        [&] {
          yielded = pick([&] {
            walkTo(folder);
            user().click("frmGetFolder", "btnNewFolder");
            user().click("frmGetFolder", "btnDone");
          });
        },
        Ending::StaysOpen);
    return yielded;
  }

  // A new run in which the user chooses path in step 1, which refuses it.
  void refusedChoice(const std::string& path) {
    play([&] { choose(path); }, Ending::StaysOpen);
  }

  const Asked& last() { return user().asked().back(); }
};

TEST_F(BadInput, TheShortcutLeadsToTheProjectFolderAsItIsOnDisk) {
  makeFolders(temp() / "Work");
  makeFolders(temp() / "Links");
  shortcut(temp() / "work/NewProj", "P", temp() / "Links");
  ASSERT_EQ(user().asked().size(), 1u);
  EXPECT_EQ(last().prompt, "Process complete");
  EXPECT_TRUE(sameFolder(shortcutTarget(temp() / "Links", "P"), temp() / "Work/NewProj"));
}

TEST_F(BadInput, LineSeparatorsAreRefusedWhereverControlCharactersAre) {
  makeFolders(temp() / "Links");
  const auto before = tree(temp().path());
  for (const char* separator : {"\xC2\x85", "\xE2\x80\xA8", "\xE2\x80\xA9"}) {
    const std::string name = std::string("one") + separator + "two";
    SCOPED_TRACE(name);
    refusedChoice(temp() / name);
    expectOops(last(), temp().path(), "control character");
    EXPECT_EQ(newFolder(temp().path(), name), temp().path());
    expectOops(last(), temp().path(), "control character");
    shortcut(temp() / "Proj", name, temp() / "Links");
    expectOops(last(), temp() / "Links", "control character");
    removeAll(temp() / "Proj");
    EXPECT_EQ(tree(temp().path()), before);
  }
}

#ifdef _WIN32
TEST_F(BadInput, ASlashInANewFolderNameIsRefusedAsOnWindowsItSeparatesFolders) {
  makeFolders(temp() / "a");
  EXPECT_EQ(newFolder(temp().path(), "a/b"), temp().path());
  expectOops(last(), temp().path() + kSep + "a/b", "\"/\" separates folders");
  EXPECT_EQ(tree(temp().path()), std::vector<std::string>{"a/"});
}
#endif

TEST_F(BadInput, DotsAsANewFolderNameMoveTheListAsTheSystemResolvesThem) {
  makeFolders(temp() / "a");
  for (const auto& [name, shown] : {std::pair{"..", temp().path()}, {".", temp() / "a"}}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(newFolder(temp() / "a", name), shown);
  }
  EXPECT_EQ(tree(temp().path()), std::vector<std::string>{"a/"});
}

TEST_F(BadInput, ASecondJumpLeavesNewFolderInTheFolderTheListShows) {
  makeFolders(temp() / "home/Desktop");
  ScopedEnvironment drive("HOMEDRIVE", ""), home("HOMEPATH", (temp() / "home").c_str());
  user().answerNextInput("x");
  user().answerNextMessage(kNo);
  play(
      [&] {
        pick([&] {
          user().click("frmGetFolder", "btnDesktop");
          user().click("frmGetFolder", "btnDesktop");
          user().click("frmGetFolder", "btnNewFolder");
          user().click("frmGetFolder", "btnDone");
        });
      },
      Ending::StaysOpen);
  EXPECT_EQ(last().prompt, "Really create:\r\n" + temp() / "home/Desktop" + kSep + "x ?");
  EXPECT_EQ(tree(temp().path()), (std::vector<std::string>{"home/", "home/Desktop/"}));
}

TEST_F(BadInput, ADanglingLinkWhereAFolderShouldBeIsNamedAsOne) {
  makeFolders(temp() / "Links");
  if (!makeDanglingLink(temp() / "gone")) GTEST_SKIP() << "no dangling links here";
  const auto before = tree(temp().path());
  refusedChoice(temp() / "gone");
  expectOops(last(), temp() / "gone", kDangling);
  EXPECT_EQ(newFolder(temp().path(), "gone"), temp().path());
  expectOops(last(), temp() / "gone", kDangling);
  shortcut(temp() / "Proj", "P", temp() / "gone");
  expectOops(last(), temp() / "gone", kDangling);
  removeAll(temp() / "Proj");
  EXPECT_EQ(tree(temp().path()), before);
}

#ifndef _WIN32
// Names of bytes that are not UTF-8 cannot pass through the path box unchanged.
TEST_F(BadInput, AFolderWhoseNameIsNotUtf8IsRefusedAndNothingIsMade) {
  makeFolders(temp() / "caf\xE9");
  play(
      [&] {
        EXPECT_EQ(pick([&] {
                    walkTo(temp().path());
                    user().openFolder("frmGetFolder", "Dir1", temp() / "caf\xE9");
                    user().click("frmGetFolder", "btnDone");
                  }),
                  temp().path());
      },
      Ending::StaysOpen);
  ASSERT_EQ(user().asked().size(), 1u);
  expectOops(last(), temp() / "caf\xE9", "not UTF-8");
  EXPECT_EQ(tree(temp().path()), std::vector<std::string>{"caf\xE9/"});
}

// Wine can make no folder that is found but cannot be opened; the handler is the same there.
TEST_F(BadInput, AJumpThatFailsLeavesNewFolderInTheFolderTheListShows) {
  makeFolders(temp() / "caf\xE9/DESKTOP");
  const auto before = tree(temp().path());
  for (const std::string& home : {temp() / "caf\xE9", temp() / std::string(300, 'h')}) {
    ScopedEnvironment drive("HOMEDRIVE", ""), path("HOMEPATH", home.c_str());
    user().answerNextInput("x");
    user().answerNextMessage(kOk);  // the "Oops!"
    user().answerNextMessage(kNo);
    play(
        [&] {
          pick([&] {
            walkTo(temp().path());
            user().click("frmGetFolder", "btnDesktop");
            user().click("frmGetFolder", "btnNewFolder");
            user().click("frmGetFolder", "btnDone");
          });
        },
        Ending::StaysOpen);
    ASSERT_EQ(user().asked().size(), 3u);
    expectOops(user().asked()[0], home);
    EXPECT_EQ(last().prompt, "Really create:\r\n" + temp() / "x" + " ?");
    EXPECT_EQ(tree(temp().path()), before);
  }
}
#endif

}  // namespace
}  // namespace qb::test

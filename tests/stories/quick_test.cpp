// The picker's quick buttons: jumps to the desktop and documents folders, and New Folder.

#include <optional>

#include "tests/stories/Story.h"

namespace qb::test {

namespace {

const std::string kSep(1, files::kSeparator);
#ifdef _WIN32
constexpr char kProfileVariable[] = "USERPROFILE";
#else
constexpr char kProfileVariable[] = "HOME";
#endif

class QuickLocations : public PickerStory {
 protected:
  // Opens the picker in folder, does what the user does there, and closes it.
  std::string pickIn(const std::string& folder, std::function<void()> script) {
    return pick([&] {
      walkTo(folder);
      script();
      user().click("frmGetFolder", "btnDone");
    });
  }

  std::string pathBox() { return user().text("frmGetFolder", "txtPathlist"); }
};

// A jump to nothing, or to a file, stays where it was without a word; one to a home that cannot
// be opened says why. Either way the list stays, the path box is not written, and New Folder
// stays in the folder the list shows.
TEST_F(QuickLocations, AJumpThatFindsNoFolderStaysWhereTheListIs) {
  makeFolders(temp() / "home");
  writeFile(temp() / "home/DESKTOP");
  std::vector<std::string> homes{temp() / "home"};
#ifndef _WIN32
  // Wine can make no folder that is found but cannot be opened; the handler is the same there.
  makeFolders(temp() / "caf\xE9/DESKTOP");
  homes.insert(homes.end(), {temp() / "caf\xE9", temp() / std::string(300, 'h')});
#endif
  // Nor does the system keep the folders anywhere.
  const ScopedUserFolders nowhere(temp() / "nowhere", temp() / "nowhere");
  const auto before = tree(temp().path());
  for (const std::string& home : homes) {
    SCOPED_TRACE(home);
    ScopedEnvironment noDrive("HOMEDRIVE", ""), homePath("HOMEPATH", home.c_str());
    play([&] {
      for (const char* button : {"btnDesktop", "btnMyDocuments"}) {
        const auto jump = [&] {
          user().type("frmGetFolder", "txtPathlist", "typed");
          user().click("frmGetFolder", button);
          EXPECT_EQ(pathBox(), "typed");
          EXPECT_EQ(program().getFolder.SelectedFolder, temp().path());
        };
        EXPECT_EQ(pickIn(temp().path(), jump), "typed");
      }
      EXPECT_EQ(user().asked().empty(), home == homes[0]);
      for (const Asked& asked : user().asked())
        expectOops(asked, home);
    });
  }
  EXPECT_EQ(tree(temp().path()), before);
}

// Where the variables are unset or lead to no such folder, or lead to the user's profile folder
// while the system keeps the folder elsewhere (moved to a cloud folder, a stale one left
// behind), the jumps go where the system keeps the folders; otherwise where the variables say.
TEST_F(QuickLocations, AJumpGoesWhereTheSystemKeepsTheFolderWhenTheVariablesDoNot) {
  for (const char* name : {"Kept/Desktop", "Kept/Documents", "profile/Desktop",
                           "profile/My Documents", "home/desktop", "home/my documents", "empty"})
    makeFolders(temp() / name);
  const ScopedUserFolders kept(temp() / "Kept/Desktop", temp() / "Kept/Documents");
  const ScopedEnvironment profile(kProfileVariable, (temp() / "profile").c_str());
  struct Case {
    const char* home;  // HOMEPATH, under the temporary folder; null: unset
    const char* desktop;
    const char* documents;  // where the jumps go, under the temporary folder
  };
  for (const Case& c : std::vector<Case>{{nullptr, "Kept/Desktop", "Kept/Documents"},
                                         {"empty", "Kept/Desktop", "Kept/Documents"},
                                         {"profile", "Kept/Desktop", "Kept/Documents"},
                                         {"home", "home/desktop", "home/my documents"}}) {
    SCOPED_TRACE(c.home ? c.home : "unset");
    ScopedEnvironment drive("HOMEDRIVE", nullptr);
    ScopedEnvironment path("HOMEPATH", c.home ? (temp() / c.home).c_str() : nullptr);
    play([&] {
      pickIn(temp().path(), [&] {
        user().click("frmGetFolder", "btnDesktop");
        EXPECT_EQ(pathBox(), files::folderPath(temp() / c.desktop));
        user().click("frmGetFolder", "btnMyDocuments");
        EXPECT_EQ(pathBox(), files::folderPath(temp() / c.documents));
      });
    });
  }
}

class NewFolder : public QuickLocations {
 protected:
  // Answers New Folder's two questions and returns what the picker then yields; typed is what
  // the user first types into the path box.
  std::string create(const std::string& name, int answer = kYes, const std::string& typed = {}) {
    user().answerNextInput(name);
    if (!name.empty()) user().answerNextMessage(answer);
    return pickIn(temp().path(), [&] {
      if (!typed.empty()) user().type("frmGetFolder", "txtPathlist", typed);
      user().click("frmGetFolder", "btnNewFolder");
    });
  }
};

// New Folder asks for a name, cuts it to its first segment, asks to confirm, and makes the folder
// unless it is there or the answer is No; the picker then shows it. Dots move the list as the
// system resolves them. What was typed into the path box is no matter, and stays when nothing is
// made.
TEST_F(NewFolder, TheNameIsCutToItsFirstSegmentAndMadeUnlessThereOrDeclined) {
  struct Case {
    std::string name;
    int answer;
    std::string yields;
    const char* confirmed;  // the confirmation's path after the folder's, or none
    std::vector<std::string> tree;
  };
  const std::string& here = temp().path();
  const std::string typed = temp() / "typed";
  const std::vector<Case> cases{
      {"Docs", kYes, temp() / "Docs", "Docs", {"Docs/"}},
      {"", kYes, typed, nullptr, {}},
      {"Docs", kNo, typed, "Docs", {}},
      {"a" + kSep + "b", kYes, temp() / "a", "a", {"a/"}},
      {kSep + "x", kYes, here, "", {}},
      {"docs", kYes, temp() / "DOCS", "docs", {"DOCS/"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    removeAll(here);
    makeFolders(here);
    if (c.name == "docs") makeFolders(temp() / "DOCS");
    play([&] {
      EXPECT_EQ(create(c.name, c.answer, typed), c.yields);
      ASSERT_EQ(user().asked().size(), c.confirmed ? 2u : 1u);
      EXPECT_EQ(user().asked()[0].prompt, "New folder name");
      EXPECT_EQ(user().asked()[0].title, "Create new folder");
      if (c.confirmed) {
        EXPECT_EQ(user().asked()[1].prompt,
                  "Really create:\r\n" + temp().path() + kSep + c.confirmed + " ?");
        EXPECT_EQ(user().asked()[1].flags, 36);
        EXPECT_EQ(user().asked()[1].title, "Query!");
      }
      EXPECT_EQ(tree(temp().path()), c.tree);
    });
  }
}

TEST_F(NewFolder, FoldersThatCannotBeMadeAreReportedAndThePickerStaysPut) {
  play([&] {
    struct Case {
      const char* story;
      std::string name;
      std::function<void()> prepare = {};
      const char* reason = nullptr;  // part of the message; none: the system's
      bool asked = true;             // whether the name is put to the user before it is refused
    };
    // A name no folder may have is refused before the question.
    const std::vector<Case> cases{
        // story, name, prepare, reason, asked
        {"a file of that name", "notes", [&] { writeFile(temp() / "NOTES"); }, "not a folder"},
        {"a dangling link", "gone", [&] { makeDanglingLink(temp() / "gone"); },
         "target is missing"},
        {"a control character", "tab\there", {}, "control", false},
        {"a line separator", "one\xE2\x80\xA8two", {}, "control", false},
        {"this folder", ".", {}, "stand for this folder", false},
        {"the folder above", "..", {}, "stand for this folder", false},
        {"a name too long", std::string(256, 'n'), {}, "too long", false},
#ifdef _WIN32
        // "/" separates folders on Windows as "\\" does; devices and a trailing dot are kept.
        {"a slash", "a/b", {}, "\"/\" separates folders", false},
        {"a device", "CON", {}, "device", false},
        {"a device with an extension", "nul.txt", {}, "device", false},
        {"another with an extension", "lpt9.log", {}, "device", false},
        {"a trailing dot", "trail.", {}, "dot", false},
#endif
    };
    for (const Case& c : cases) {
      SCOPED_TRACE(c.story);
      if (c.prepare) c.prepare();
      const auto before = tree(temp().path());
      user().forgetAsked();
      EXPECT_EQ(create(c.name), temp().path());
      ASSERT_EQ(user().asked().size(), c.asked ? 3u : 2u);
      expectOops(user().asked().back(), temp().path(), c.reason);
      EXPECT_EQ(tree(temp().path()), before);
    }
  });
}

}  // namespace
}  // namespace qb::test

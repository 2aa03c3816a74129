// The picker's quick buttons: jumps to the desktop and documents folders, and New Folder.

#include <filesystem>

#include "tests/stories/Story.h"

namespace qb::test {
namespace {

const std::string kSep(1, files::kSeparator);

class QuickLocations : public Story {
 protected:
  // The picker is shown as its callers show it; step 1 stays open under it.
  QuickLocations() { ending_ = Ending::StaysOpen; }
  // A home folder as Windows gives it: HOMEDRIVE empty here, HOMEPATH the whole path.
  void useHome(const std::string& home) {
    drive = std::make_unique<ScopedEnvironment>("HOMEDRIVE", "");
    path = std::make_unique<ScopedEnvironment>("HOMEPATH", home.c_str());
  }

  // Opens the picker in folder, does what the user does there, and closes it.
  std::string pickIn(const std::string& folder, std::function<void()> script) {
    return pick([&] {
      walkTo(folder);
      script();
      user().click("frmGetFolder", "btnDone");
    });
  }

  std::string pathBox() { return user().text("frmGetFolder", "txtPathlist"); }

  std::unique_ptr<ScopedEnvironment> drive, path;
};

TEST_F(QuickLocations, TheJumpsFindTheirFoldersIgnoringLetterCase) {
  play([&] {
    makeFolders(temp() / "home/Desktop");
    makeFolders(temp() / "home/my documents");
    useHome(temp() / "home");
    pickIn(temp().path(), [&] {
      user().click("frmGetFolder", "btnDesktop");
      EXPECT_EQ(pathBox(), temp() / "home/Desktop");
      EXPECT_EQ(program().getFolder.SelectedFolder, temp() / "home/Desktop");
      user().click("frmGetFolder", "btnMyDocuments");
      EXPECT_EQ(pathBox(), temp() / "home/my documents");
      EXPECT_EQ(user().rows("frmGetFolder", "Dir1").back(), temp() / "home/my documents");
    });
    EXPECT_TRUE(user().asked().empty());
  });
}

TEST_F(QuickLocations, AJumpToNothingOrToAFileStaysWhereItWasWithoutAWord) {
  play([&] {
    makeFolders(temp() / "home");
    writeFile(temp() / "home/DESKTOP");
    useHome(temp() / "home");
    for (const char* button : {"btnDesktop", "btnMyDocuments"}) {
      SCOPED_TRACE(button);
      EXPECT_EQ(pickIn(temp().path(),
                       [&] {
                         user().type("frmGetFolder", "txtPathlist", "typed");
                         user().click("frmGetFolder", button);
                         // The list stays and the path box is not written.
                         EXPECT_EQ(pathBox(), "typed");
                         EXPECT_EQ(program().getFolder.SelectedFolder, temp().path());
                         user().type("frmGetFolder", "txtPathlist", temp().path());
                       }),
                temp().path());
    }
    EXPECT_TRUE(user().asked().empty());
    EXPECT_EQ(readFile(temp() / "home/DESKTOP"), "keep me");
  });
}

#ifdef _WIN32
TEST_F(QuickLocations, WithoutHomeVariablesTheJumpLooksInTheCurrentDrivesRoot) {
  play([&] {
    ScopedEnvironment noDrive("HOMEDRIVE", nullptr), noPath("HOMEPATH", nullptr);
    pickIn(temp().path(), [&] {
      // Nothing called DESKTOP at the root of the drive: the picker stays where it is.
      ASSERT_EQ(files::lookup("\\DESKTOP"), "");
      user().click("frmGetFolder", "btnDesktop");
      EXPECT_EQ(pathBox(), temp().path());
    });
    EXPECT_TRUE(user().asked().empty());
  });
}
#else
TEST_F(QuickLocations, WithoutHomeVariablesLinuxUsesTheDesktopsOwnFolders) {
  play([&] {
    ScopedEnvironment noDrive("HOMEDRIVE", nullptr), noPath("HOMEPATH", nullptr);
    ScopedEnvironment home("HOME", (temp() / "home").c_str());
    ScopedEnvironment config("XDG_CONFIG_HOME", (temp() / "config").c_str());
    makeFolders(temp() / "home/Schreibtisch");
    makeFolders(temp() / "home/Documents");
    makeFolders(temp() / "config");
    writeFile(temp() / "config/user-dirs.dirs",
              "# written by the desktop\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
    pickIn(temp().path(), [&] {
      user().click("frmGetFolder", "btnDesktop");
      EXPECT_EQ(pathBox(), temp() / "home/Schreibtisch");
      // No documents entry: the home folder's Documents.
      user().click("frmGetFolder", "btnMyDocuments");
      EXPECT_EQ(pathBox(), temp() / "home/Documents");
    });
  });
}
#endif

class NewFolder : public QuickLocations {
 protected:
  // Answers New Folder's two questions and returns what the picker then yields.
  std::string create(const std::string& name, int answer = kYes) {
    user().answerNextInput(name);
    if (!name.empty()) user().answerNextMessage(answer);
    return pickIn(temp().path(), [&] { user().click("frmGetFolder", "btnNewFolder"); });
  }
};

TEST_F(NewFolder, AsksForANameAndConfirmsThenMakesTheFolderAndMovesIn) {
  play([&] {
    EXPECT_EQ(create("Docs"), temp() / "Docs");
    EXPECT_TRUE(isFolder(temp() / "Docs"));
    ASSERT_EQ(user().asked().size(), 2u);
    EXPECT_EQ(user().asked()[0].prompt, "New folder name");
    EXPECT_EQ(user().asked()[0].title, "Create new folder");
    EXPECT_EQ(user().asked()[1].prompt, "Really create:\r\n" + temp().path() + kSep + "Docs ?");
    EXPECT_EQ(user().asked()[1].flags, 36);
    EXPECT_EQ(user().asked()[1].title, "Query!");
  });
}

// What is made for the name typed and the answer given, and where the picker then is.
TEST_F(NewFolder, TheNameIsCutToItsFirstSegmentAndMadeUnlessThereOrDeclined) {
  struct Case {
    std::string name;
    int answer;
    const char* yields;     // under the temporary folder; "" for the folder itself
    const char* confirmed;  // the confirmation's path after the folder's, or none
    std::vector<std::string> tree;
  };
  const std::vector<Case> cases{
      {"", kYes, "", nullptr, {}},
      {"Docs", kNo, "", "Docs", {}},
      {"a" + kSep + "b", kYes, "a", "a", {"a/"}},
      {kSep + "x", kYes, "", "", {}},
      {"docs", kYes, "DOCS", "docs", {"DOCS/"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    removeAll(temp().path());
    makeFolders(temp().path());
    if (c.name == "docs") makeFolders(temp() / "DOCS");
    play([&] {
      EXPECT_EQ(create(c.name, c.answer), *c.yields ? temp() / c.yields : temp().path());
      ASSERT_EQ(user().asked().size(), c.confirmed ? 2u : 1u);
      if (c.confirmed) {
        EXPECT_EQ(user().asked()[1].prompt,
                  "Really create:\r\n" + temp().path() + kSep + c.confirmed + " ?");
      }
      EXPECT_EQ(tree(temp().path()), c.tree);
    });
  }
}

TEST_F(NewFolder, TextTypedIntoThePathBoxIsIgnoredAndOverwritten) {
  play([&] {
    makeFolders(temp() / "elsewhere");
    user().answerNextInput("Docs");
    user().answerNextMessage(kYes);
    EXPECT_EQ(pickIn(temp().path(),
                     [&] {
                       user().type("frmGetFolder", "txtPathlist", temp() / "elsewhere");
                       user().click("frmGetFolder", "btnNewFolder");
                     }),
              temp() / "Docs");
    EXPECT_EQ(tree(temp().path()), (std::vector<std::string>{"Docs/", "elsewhere/"}));
  });
}

TEST_F(NewFolder, FoldersThatCannotBeMadeAreReportedAndThePickerStaysPut) {
  play([&] {
    struct Case {
      const char* story;
      std::string name;
      std::function<void()> prepare;
      const char* reason;
    };
    const std::vector<Case> cases{
        {"a file of that name", "notes", [&] { writeFile(temp() / "NOTES"); }, "not a folder"},
        {"a control character", "tab\there", [] {}, "control characters"},
        {"a name too long", std::string(300, 'n'), [] {}, nullptr},
    };
    for (const Case& c : cases) {
      SCOPED_TRACE(c.story);
      c.prepare();
      const auto before = tree(temp().path());
      user().forgetAsked();
      EXPECT_EQ(create(c.name), temp().path());
      ASSERT_EQ(user().asked().size(), 3u);
      expectOops(user().asked()[2], temp().path(), c.reason);
      EXPECT_EQ(tree(temp().path()), before);
    }
  });
}

TEST_F(NewFolder, AFolderNobodyMayWriteInIsReportedAndThePickerStaysPut) {
  play([&] {
    makeFolders(temp() / "locked");
    ReadOnlyFolder locked(temp() / "locked");
    if (!locked.ready()) GTEST_SKIP() << "this machine can make no folder read-only";
    user().answerNextInput("Docs");
    user().answerNextMessage(kYes);
    EXPECT_EQ(pickIn(temp() / "locked", [&] { user().click("frmGetFolder", "btnNewFolder"); }),
              temp() / "locked");
    ASSERT_EQ(user().asked().size(), 3u);
    expectOops(user().asked()[2], temp() / "locked/Docs");
    EXPECT_TRUE(tree(temp() / "locked").empty());
  });
}

}  // namespace
}  // namespace qb::test

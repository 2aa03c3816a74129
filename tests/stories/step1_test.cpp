// Step 1 as a user tells it: browse, choose a folder, and the project's folders are there.

#include <unistd.h>

#include <filesystem>

#include "tests/stories/Story.h"

namespace qb::test {
namespace {

// Step 2 is skipped whenever it opens: these stories end in step 1.
class Step1 : public Story {
 protected:
  Step1() {
    user().whenOpens("frmMain2", [this] {
      step2Opened = true;
      user().click("frmMain2", "btnSkip");
    });
  }
  bool step2Opened = false;
};

const std::vector<std::string> kSkeleton{"Help Project/", "Images/", "Package/"};

TEST_F(Step1, TypingANewFolderMakesItWithTheSkeletonAndEndsTheProgram) {
  play([&] {
    EXPECT_EQ(user().caption("frmMain"), "Step 1 - Select or create a project folder");
    EXPECT_TRUE(user().facts("frmMain", "Command1").focused);
    EXPECT_TRUE(user().facts("frmMain", "Text1").readOnly);
    const std::string project = temp() / "My Project";
    choose(project);
    EXPECT_EQ(tree(project), kSkeleton);
    EXPECT_EQ(program().io.ProjectFolder, project);
    EXPECT_TRUE(user().asked().empty());
    EXPECT_TRUE(step2Opened);
    EXPECT_TRUE(program().ui.ended());
  });
}

TEST_F(Step1, OpeningFoldersInTheListChoosesTheOpenedFolder) {
  play([&] {
    makeFolders(temp() / "Work");
    browse([&] {
      // The picker starts in the program's own folder.
      EXPECT_EQ(user().text("frmGetFolder", "txtPathlist"), files::applicationFolder());
      walkTo(temp() / "Work");
      EXPECT_EQ(user().text("frmGetFolder", "txtPathlist"), temp() / "Work");
      user().click("frmGetFolder", "btnDone");
    });
    EXPECT_EQ(tree(temp() / "Work"), kSkeleton);
    EXPECT_TRUE(program().ui.ended());
  });
}

TEST_F(Step1, AnExistingProjectIsLeftAsItIsWhateverTheLetterCaseOfItsFolders) {
  play([&] {
    for (const char* name : {"images", "PACKAGE", "Help project"}) {
      makeFolders(temp() / name);
    }
    choose(temp().path());
    EXPECT_EQ(tree(temp().path()),
              (std::vector<std::string>{"Help project/", "PACKAGE/", "images/"}));
    EXPECT_TRUE(program().ui.ended());
  });
}

TEST_F(Step1, AnEmptyChoiceIsRefusedAndTheUserMayBrowseAgain) {
  play([&] {
    choose("");
    ASSERT_EQ(user().asked().size(), 1u);
    EXPECT_EQ(user().asked()[0].prompt, "This field is required");
    EXPECT_EQ(user().asked()[0].flags, 0);
    EXPECT_EQ(user().asked()[0].title, "Oops!");
    EXPECT_TRUE(user().isOpen("frmMain"));
    EXPECT_EQ(program().io.ProjectFolder, "");
    EXPECT_TRUE(tree(temp().path()).empty());

    choose(temp() / "Second try");
    EXPECT_EQ(tree(temp() / "Second try"), kSkeleton);
  });
}

TEST_F(Step1, CancelAndTheCloseBoxEndTheProgramWithoutMakingAnything) {
  for (const bool cancel : {true, false}) {
    play([&] {
      cancel ? user().click("frmMain", "btnCancel") : user().close("frmMain");
      EXPECT_TRUE(program().ui.ended());
    });
  }
  EXPECT_TRUE(tree(temp().path()).empty());
}

TEST_F(Step1, ClosingThePickerWithItsCloseBoxYieldsThePathBoxAsDoneWould) {
  play([&] {
    browse([&] {
      user().type("frmGetFolder", "txtPathlist", temp() / "Closed");
      user().close("frmGetFolder");
    });
    EXPECT_EQ(tree(temp() / "Closed"), kSkeleton);
  });
}

TEST_F(Step1, ALinkToAFolderCountsAsThatFolder) {
  play([&] {
    makeFolders(temp() / "real");
    if (!makeFolderLink(temp() / "real", temp() / "link")) GTEST_SKIP() << "no folder links here";
    choose(temp() / "link");
    EXPECT_EQ(tree(temp() / "real"), kSkeleton);
    EXPECT_TRUE(user().asked().empty());
  });
}

// Each refusal shows "Oops!" naming the path, leaves step 1 open and the disk as it was.
struct Refusal {
  const char* story;
  std::function<std::string(const TempFolder&)> prepare;  // returns the path the user types
  const char* named;                                      // what the message names, under temp
  const char* reason;                                     // part of the message
};

TEST_F(Step1, ChoicesThatCannotHoldAProjectAreRefusedAndNothingChanges) {
  const std::vector<Refusal> refusals{
      {"a plain file where the project folder should be",
       [](const TempFolder& t) {
         writeFile(t / "Proj");
         return t / "Proj";
       },
       "Proj", "not a folder"},
      {"a plain file where a subfolder should be, in another letter case",
       [](const TempFolder& t) {
         makeFolders(t / "Proj");
         writeFile(t / "Proj/PACKAGE");
         return t / "Proj";
       },
       "Proj/PACKAGE", "not a folder"},
      {"a dangling link where the project folder should be",
       [](const TempFolder& t) { return makeFolderLink(t / "gone", t / "Proj") ? t / "Proj" : ""; },
       "Proj", "not a folder"},
      {"a path through a plain file",
       [](const TempFolder& t) {
         writeFile(t / "notes.txt");
         return t / "notes.txt/Proj";
       },
       "notes.txt/Proj", nullptr},
      {"a missing parent", [](const TempFolder& t) { return t / "missing/Proj"; }, "missing/Proj",
       nullptr},
      {"a name longer than the file system allows",
       [](const TempFolder& t) { return t / std::string(300, 'n'); }, "", nullptr},
      {"a line break in the path", [](const TempFolder& t) { return t / "first\nsecond"; },
       "first\nsecond", "control characters"},
  };
  for (const Refusal& refusal : refusals) {
    SCOPED_TRACE(refusal.story);
    TempFolder place;
    const std::string path = refusal.prepare(place);
    if (path.empty()) continue;  // this system cannot make what the story needs
    const auto before = tree(place.path());
    play(
        [&] {
          choose(path);
          ASSERT_EQ(user().asked().size(), 1u);
          expectOops(user().asked()[0], place / refusal.named, refusal.reason);
          EXPECT_TRUE(user().isOpen("frmMain"));
          EXPECT_FALSE(program().ui.ended());
          EXPECT_EQ(tree(place.path()), before);
        },
        Ending::StaysOpen);
  }
}

TEST_F(Step1, ARelativePathIsRefusedAndNothingIsMadeInTheWorkingFolder) {
  play(
      [&] {
        const auto before = tree(".");
        choose("Relative Project");
        ASSERT_EQ(user().asked().size(), 1u);
        EXPECT_EQ(user().asked()[0].title, "Oops!");
        EXPECT_NE(user().asked()[0].prompt.find("full path"), std::string::npos);
        EXPECT_EQ(tree("."), before);
        EXPECT_TRUE(user().isOpen("frmMain"));
      },
      Ending::StaysOpen);
}

// A folder nobody may write in: as the parent, or as the project folder that must take the
// skeleton. What was there stays.
TEST_F(Step1, AFolderNobodyMayWriteInIsReportedAndKeepsWhatWasThere) {
  for (const auto& [chosen, named] :
       {std::pair{"locked/Proj", "locked/Proj"}, std::pair{"locked", "locked/Images"}}) {
    SCOPED_TRACE(chosen);
    makeFolders(temp() / "locked");
    ReadOnlyFolder locked(temp() / "locked");
    if (!locked.ready()) GTEST_SKIP() << "this machine can make no folder read-only";
    const auto before = tree(temp().path());
    play([&] { choose(temp() / chosen); }, Ending::StaysOpen);
    ASSERT_EQ(user().asked().size(), 1u);
    expectOops(user().asked()[0], temp() / named);
    EXPECT_EQ(tree(temp().path()), before);
  }
}

}  // namespace
}  // namespace qb::test

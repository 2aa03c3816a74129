// Step 1 as a user tells it: browse, choose a folder, and the project's folders
// are there.

#include <filesystem>
#include <optional>

#include "tests/stories/Story.h"
#include "tests/support/FailurePlan.h"

namespace qb::test {

namespace {

// Step 2 is left whenever it opens, with a name typed: by SKIP, or by its close box.
class Step1 : public Story {
 protected:
  Step1() { skipStep2(); }
  void skipStep2() {
    user().whenOpens("frmMain2", [this] {
      step2Opened = true;
      user().type("frmMain2", "Text1", "unused");
      closeBox ? user().close("frmMain2") : user().click("frmMain2", "btnSkip");
      skipStep2();
    });
  }
  bool step2Opened = false;
  bool closeBox = false;
};

const std::vector<std::string> kSkeleton{"Help Project/", "Images/", "Package/"};

// The picker's close box yields the path box as Done does. Leaving step 2 makes no shortcut and
// says nothing.
TEST_F(Step1, TypingANewFolderMakesItWithTheSkeletonAndLeavingStepTwoEndsTheProgram) {
  for (const bool close : {false, true}) {
    closeBox = close;
    step2Opened = false;
    play([&] {
      EXPECT_TRUE(user().facts("frmMain", "Command1").focused);
      // The folder is chosen in the picker, not typed.
      user().type("frmMain", "Text1", "typed");
      EXPECT_EQ(user().text("frmMain", "Text1"), "");
      const std::string project = temp() / (close ? "Closed" : "Skipped");
      browse([&] {
        user().type("frmGetFolder", "txtPathlist", project);
        user().close("frmGetFolder");
      });
      EXPECT_EQ(tree(project), kSkeleton);
      EXPECT_TRUE(user().asked().empty());
      EXPECT_TRUE(step2Opened);
    });
  }
  EXPECT_EQ(tree(temp().path()).size(), 8u);  // the two projects and their folders
}

TEST_F(Step1, CancelAndTheCloseBoxEndTheProgramWithoutMakingAnything) {
  for (const bool cancel : {true, false}) {
    play([&] { cancel ? user().click("frmMain", "btnCancel") : user().close("frmMain"); });
  }
  EXPECT_TRUE(tree(temp().path()).empty());
}

// A link to a folder counts as that folder, and the folders there in any letter case are kept.
TEST_F(Step1, ALinkToAFolderCountsAsThatFolderAndItsFoldersInAnyLetterCaseAreKept) {
  play([&] {
    for (const char* name : {"real/images", "real/PACKAGE", "real/Help project"})
      makeFolders(temp() / name);
    // Where this system makes no folder links, the folder itself.
    choose(temp() / (makeFolderLink(temp() / "real", temp() / "link") ? "link" : "real"));
    EXPECT_EQ(tree(temp() / "real"),
              (std::vector<std::string>{"Help project/", "PACKAGE/", "images/"}));
    EXPECT_TRUE(user().asked().empty());
  });
}

// The picker hands over what was typed unchecked. Each refusal shows "Oops!" naming the path and
// saying why, leaves step 1 open and the disk as it was, and the user may browse again.
enum How { kUnder, kAsTyped, kDangling, kLoop };

struct Refusal {
  const char* story;
  std::string typed;             // under the folder, unless kAsTyped
  const char* reason = nullptr;  // part of the message; none: the system's
  const char* named = nullptr;   // under the folder; or the path typed
  const char* file = nullptr;    // a plain file in the way, under the folder
  const char* made = nullptr;    // a folder there first, under the folder
  How how = kUnder;              // kDangling: typed is a broken link; kLoop: a link in a loop
};

TEST_F(Step1, ChoicesThatCannotHoldAProjectAreRefusedAndNothingChanges) {
  const std::vector<Refusal> refusals{
      // clang-format off
      // story, typed, reason, named, file, made, how
      {"nothing", "", "This field is required", {}, {}, {}, kAsTyped},
      {"a relative path", "Relative Project", "full path", {}, {}, {}, kAsTyped},
      {"a plain file where the project folder should be", "Proj", "not a folder", {}, "Proj"},
      {"a plain file where a subfolder should be, in another letter case", "Proj", "not a folder",
       "Proj/PACKAGE", "Proj/PACKAGE", "Proj"},
      {"a path through a plain file", "notes.txt/Proj", {}, {}, "notes.txt"},
      {"a missing parent", "missing/Proj"},
      {"a name longer than the file system allows", std::string(300, 'n'), {}, ""},
      {"a line break", "one\ntwo", "control characters"},
      {"a next-line character", "one\xC2\x85two", "control characters"},
      {"a dangling link", "gone", "target is missing", {}, {}, {}, kDangling},
      {"links that lead to each other", "loop", "round in a loop", {}, {}, {}, kLoop},
      // clang-format on
  };
  const auto home = std::filesystem::current_path();
  for (const Refusal& refusal : refusals) {
    SCOPED_TRACE(refusal.story);
    TempFolder place;
    if (refusal.made) makeFolders(place / refusal.made);
    if (refusal.file) writeFile(place / refusal.file);
    if (refusal.how == kDangling && !makeDanglingLink(place / refusal.typed)) continue;
    if (refusal.how == kLoop && !makeLinkLoop(place / refusal.typed)) continue;
    const std::string path = refusal.how == kAsTyped ? refusal.typed : place / refusal.typed;
    const auto before = tree(place.path());
    // A relative path would be taken from the working folder: it must stay as it is too.
    std::filesystem::current_path(u8(place.path()));
    play([&] {
      choose(path);
      ASSERT_EQ(user().asked().size(), 1u);
      if (path.empty()) {
        EXPECT_EQ(user().asked()[0].prompt, refusal.reason);
      } else {
        expectOops(user().asked()[0], refusal.named ? place / refusal.named : path, refusal.reason);
      }
      EXPECT_TRUE(user().isOpen("frmMain"));
      EXPECT_EQ(program().io.ProjectFolder, path);
      EXPECT_EQ(tree(place.path()), before);
      choose(place / "Second try");
      EXPECT_EQ(tree(place / "Second try"), kSkeleton);
    });
    std::filesystem::current_path(home);
  }
}

// A disk that fills up after the project folder and "Images": those stay, the message says what
// is there, and choosing the same folder again, once there is room, completes the project. A
// project folder removed meanwhile is not said to be there.
TEST_F(Step1, ADiskThatFillsUpKeepsWhatWasMadeAndSaysWhatIsMissing) {
  const std::string project = temp() / "Proj";
  play([&] {
    planFaults({{faults::Call::Make, 3, kDiskFull}});
    choose(project);
    ASSERT_EQ(user().asked().size(), 1u);
    expectOops(user().asked()[0], project + files::kSeparator + "Package",
               "and \"Images\" are there; \"Package\", \"Help Project\" are not. Choose the "
               "same folder again");
    EXPECT_EQ(tree(project), std::vector<std::string>{"Images/"});
    planFaults();
    choose(project);
    EXPECT_EQ(tree(project), kSkeleton);
  });
  removeAll(project);
  play([&] {
    planFaults({{faults::Call::Make, 2, kDiskFull, [&] { removeAll(project); }}});
    choose(project);
    // Nor is what cannot be looked at any more.
    planFaults({{faults::Call::Make, 3, kDiskFull, [&] {
                   planFaults({{faults::Call::Look, 0, kDiskFull, {}, project}});
                 }}});
    choose(project);
    planFaults();
    ASSERT_EQ(user().asked().size(), 2u);
    expectOops(user().asked()[0], project, "The project folder is not there any more.");
    expectOops(user().asked()[1], project, "could not be read");
    choose(project);
    EXPECT_EQ(tree(project), kSkeleton);
  });
}

}  // namespace
}  // namespace qb::test

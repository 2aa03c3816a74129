// Step 1 as a user tells it: browse, choose a folder, and the project's folders
// are there.

#ifdef _WIN32
#include <windows.h>
#endif

#include <filesystem>
#include <optional>

#include "tests/stories/Story.h"

namespace qb::test {

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
      EXPECT_EQ(user().caption("frmMain"), "Step 1 - Select or create a project folder");
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
struct Refusal {
  const char* story;
  std::string typed;            // under the folder, unless asTyped
  const char* reason;           // part of the message, or the system's
  const char* named = nullptr;  // under the folder; or the path typed
  const char* file = nullptr;   // a plain file in the way, under the folder
  const char* made = nullptr;   // a folder there first, under the folder
  bool locked = false;          // nobody may write in "locked"
  bool asTyped = false;
  bool dangling = false;  // typed is a link whose target is missing
};

TEST_F(Step1, ChoicesThatCannotHoldAProjectAreRefusedAndNothingChanges) {
  const std::vector<Refusal> refusals{
      {"nothing", "", "This field is required", nullptr, nullptr, nullptr, false, true},
      {"a relative path", "Relative Project", "full path", nullptr, nullptr, nullptr, false, true},
      {"a plain file where the project folder should be", "Proj", "not a folder", nullptr, "Proj"},
      {"a plain file where a subfolder should be, in another letter case", "Proj", "not a folder",
       "Proj/PACKAGE", "Proj/PACKAGE", "Proj"},
      {"a path through a plain file", "notes.txt/Proj", nullptr, nullptr, "notes.txt"},
      {"a missing parent", "missing/Proj", nullptr},
      {"a name longer than the file system allows", std::string(300, 'n'), nullptr, ""},
      {"a line break", "one\ntwo", "control characters"},
      {"a next-line character", "one\xC2\x85two", "control characters"},
      {"a parent nobody may write in", "locked/Proj", nullptr, nullptr, nullptr, "locked", true},
      {"a project folder nobody may write in", "locked", nullptr, "locked/Images", nullptr,
       "locked", true},
      {"a dangling link", "gone", "target is missing", nullptr, nullptr, nullptr, false, false,
       true},
  };
  const auto home = std::filesystem::current_path();
  for (const Refusal& refusal : refusals) {
    SCOPED_TRACE(refusal.story);
    TempFolder place;
    if (refusal.made) makeFolders(place / refusal.made);
    if (refusal.file) writeFile(place / refusal.file);
    std::optional<ReadOnlyFolder> locked;
    if (refusal.locked && !locked.emplace(place / "locked").ready()) continue;
    if (refusal.dangling && !makeDanglingLink(place / refusal.typed)) continue;
    const std::string path = refusal.asTyped ? refusal.typed : place / refusal.typed;
    const auto before = tree(place.path());
    // A relative path would be taken from the working folder: it must stay as it is too.
    std::filesystem::current_path(u8(place.path()));
    play([&] {
      choose(path);
      ASSERT_EQ(user().asked().size(), 1u);
      expectOops(user().asked()[0], refusal.named ? place / refusal.named : path, refusal.reason);
      EXPECT_TRUE(!path.empty() || user().asked()[0].prompt == refusal.reason);  // nothing else
      EXPECT_TRUE(user().isOpen("frmMain"));
      EXPECT_EQ(program().io.ProjectFolder, path);
      EXPECT_EQ(tree(place.path()), before);
      locked.reset();
      choose(place / "Second try");
      EXPECT_EQ(tree(place / "Second try"), kSkeleton);
    });
    std::filesystem::current_path(home);
  }
}

}  // namespace
}  // namespace qb::test

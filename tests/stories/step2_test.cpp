// Step 2 as a user tells it: name a shortcut, pick its folder, press DONE, and the shortcut
// opens the project folder.

#include <optional>

#include "tests/stories/Story.h"

namespace qb::test {

namespace {

class Step2 : public Story {
 protected:
  // Runs step 1 for a new project, typed as given, then does in step 2 what the user does there.
  void inStep2(std::function<void()> script, const std::string& typed = {}) {
    user().whenOpens("frmMain2", std::move(script));
    choose(typed.empty() ? project : typed);
  }

  // Picks a folder for the shortcut with step 2's Browse, typing it into the picker.
  void browseTo(const std::string& folder) { choose(folder, "frmMain2", "btnBrowse"); }

  void makeShortcut(const std::string& name, const std::string& folder) {
    user().type("frmMain2", "Text1", name);
    browseTo(folder);
    user().click("frmMain2", "Command1");
  }

  // The shortcut was made: in folder, called name, leading to the project folder.
  void expectShortcut(const std::string& folder, const std::string& name, std::string to = {}) {
    const std::string target = shortcutTarget(folder, name);
    EXPECT_TRUE(sameFolder(target, to.empty() ? project : to)) << name << ": " << target;
  }

  const std::string project = temp() / "Project";
  const std::string shortcuts = temp() / "Shortcuts";
};

// The quick jumps find their folders in any letter case; a second jump, to where the list is
// already, still leaves New Folder in the folder as it is on disk.
TEST_F(Step2, TheTypicalRunMakesTheProjectInDocumentsAndAShortcutOnTheDesktop) {
  play([&] {
    const std::string documents = temp() / "home/my documents";
    const std::string desktop = temp() / "home/Desktop";
    makeFolders(documents);
    makeFolders(desktop);
    ScopedEnvironment drive("HOMEDRIVE", ""), home("HOMEPATH", (temp() / "home").c_str());

    // Step 1: to the documents folder (twice), a new folder there, Done; step 2: a name, the
    // desktop through the picker, DONE.
    newProjectInDocuments(
        [&] {
          EXPECT_TRUE(user().facts("frmMain2", "Text2").focused);
#ifndef _WIN32
          // A reader says which windows wait for which, and the label with each box.
          for (const auto& [window, role] : std::vector<std::pair<std::string, std::string>>{
                   {"frmMain", "Window"}, {"frmMain2", "Dialog modal"}})
            EXPECT_EQ(user().facts(window, "").role, role) << window;
          EXPECT_EQ(user().facts("frmMain2", "Text1").label, "Label1");
          EXPECT_EQ(user().facts("frmMain2", "Text2").label, "Label2");
#endif
          // The folder is picked, not typed.
          user().type("frmMain2", "Text2", "typed");
          EXPECT_EQ(user().text("frmMain2", "Text2"), "");
          user().type("frmMain2", "Text1", "My Project");
          user().whenOpens("frmGetFolder", [&] {
#ifndef _WIN32
            EXPECT_EQ(user().facts("frmGetFolder", "").role, "Dialog modal");
#endif
            user().click("frmGetFolder", "btnDesktop");
            user().click("frmGetFolder", "btnDone");
          });
          // Browse from the keyboard; the focus comes back to it when the picker closes.
          user().press("frmMain2", "btnBrowse", Key::Space);
          EXPECT_TRUE(user().facts("frmMain2", "btnBrowse").focused);
          user().click("frmMain2", "Command1");
        },
        [&] {
          user().click("frmGetFolder", "btnMyDocuments");
          EXPECT_EQ(user().text("frmGetFolder", "txtPathlist"), documents);
        });

    const std::string made = documents + files::kSeparator + "Project";
    EXPECT_EQ(program().io.ProjectFolder, made);
    expectShortcut(desktop, "My Project", made);
    ASSERT_EQ(user().asked().size(), 3u);
    // New Folder works in the folder as it is on disk, even after a jump to where the list was.
    EXPECT_EQ(user().asked()[1].prompt, "Really create:\r\n" + made + " ?");
    EXPECT_EQ(user().asked()[2].prompt, "Process complete");
    EXPECT_EQ(user().asked()[2].flags, 0);
    EXPECT_EQ(user().asked()[2].title, "Good news!");
  });
}

// Refused tries leave step 2 open, and step 1 takes no input until step 2 is over, even after
// windows and boxes opened above step 2 have closed again.
TEST_F(Step2, RefusedTriesLeaveStepTwoOpenAndStepOneWaitingUntilAShortcutIsMade) {
  makeFolders(shortcuts);
  const auto stepOneWaits = [&] {
    EXPECT_FALSE(user().enabled("frmMain"));
    user().click("frmMain", "Command1");
    user().click("frmMain", "btnCancel");
    user().close("frmMain");
    EXPECT_TRUE(user().isOpen("frmMain"));
    EXPECT_FALSE(program().ui.ended());
  };
  const auto newFolderInShortcuts = [&] {
    walkTo(shortcuts);
    user().answerNextInput("Inner");
    user().answerNextMessage(kYes);
    user().click("frmGetFolder", "btnNewFolder");
    stepOneWaits();
    EXPECT_FALSE(user().enabled("frmMain2"));
    user().click("frmGetFolder", "btnDone");
  };
  play([&] {
    inStep2([&] {
      user().click("frmMain2", "Command1");
      stepOneWaits();
      user().type("frmMain2", "Text1", "Name only");
      user().click("frmMain2", "Command1");
      user().type("frmMain2", "Text1", "");
      user().whenOpens("frmGetFolder", newFolderInShortcuts);
      user().click("frmMain2", "btnBrowse");
      stepOneWaits();
      user().click("frmMain2", "Command1");
      // Browse leaves the name alone.
      EXPECT_EQ(user().text("frmMain2", "Text2"), shortcuts + files::kSeparator + "Inner");
      EXPECT_EQ(user().text("frmMain2", "Text1"), "");
      EXPECT_EQ(program().io.ProjectFolder, project);
      makeShortcut("Link", temp() / "Nowhere");
      browseTo(shortcuts);
      user().click("frmMain2", "Command1");
    });
    ASSERT_EQ(user().asked().size(), 7u);
    for (int i : {0, 1, 4})
      EXPECT_EQ(user().asked()[i].prompt, "Both fields are required");
    expectOops(user().asked()[5], temp() / "Nowhere");
    EXPECT_EQ(user().asked()[6].prompt, "Process complete");
    expectShortcut(shortcuts, "Link");
    EXPECT_EQ(tree(shortcuts).front(), "Inner/");
  });
}

// The shortcut leads to the project folder as it is on disk, not as typed.
TEST_F(Step2, NamesInAnyScriptOrOfSpacesOnlyGoAsTyped) {
  makeFolders(shortcuts);
  makeFolders(temp() / "Work");
  std::vector<std::string> names{"Проект 项目 🚀", "notes.txt"};
#ifndef _WIN32
  names.push_back("   ");  // Windows refuses names that end in a space
#endif
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    play([&] {
      removeAll(temp() / "Work/Project");
      inStep2([&] { makeShortcut(name, shortcuts); }, temp() / "work/Project");
      expectShortcut(shortcuts, name, temp() / "Work/Project");
    });
  }
  EXPECT_EQ(tree(shortcuts).size(), names.size());
}

// Each failure shows "Oops!" with the path tried and why; step 2 stays open for another try,
// and nothing that was there changes.
struct Failure {
  const char* story;
  const char* folder = "Shortcuts";  // under the temporary folder
  const char* named = "Shortcuts";   // what the message names, under the temporary folder
  const char* reason = nullptr;      // part of the message; none: the system's
  std::string inTheWay = {};  // under the temporary folder: a plain file, or a folder ending in '/'
  std::function<bool(const std::string& shortcuts)> prepare = {};  // false: not possible here
  bool projectGone = false;  // the project folder is removed while step 2 is open
  std::string name = "Link";
};

TEST_F(Step2, ShortcutsThatCannotBeMadeAreReportedAndStepTwoStaysOpen) {
  const auto dangle = [](const std::string& s) {
    return makeFolderLink(s + files::kSeparator + "gone",
                          s + files::kSeparator + shortcutFile("Link"));
  };
  const auto goneFolder = [&](const std::string&) { return makeDanglingLink(temp() / "gone"); };
  const std::string link = "Shortcuts/" + shortcutFile("Link"),
                    twin = "Shortcuts/" + shortcutFile("LINK") + "/", kept = "left as it is";
  const char *here = "Shortcuts", *named = "Shortcuts/Link";
  const std::vector<Failure> failures{
      // clang-format off
      // story, folder, named, reason, inTheWay, prepare, projectGone, name
      {"a project folder that has gone", here, "Project", "not there any more", {}, {}, true},
      {"a folder that does not exist", "Nowhere", "Nowhere"},
      {"a plain file as the folder", "notes.txt", "notes.txt", "not a folder", "notes.txt"},
      {"a file of that name", here, named, kept.c_str(), link},
      {"a folder of that name in another case", here, named, kept.c_str(), twin},
      {"a dangling link of that name", here, named, kept.c_str(), {}, dangle},
      {"a dangling link as the folder", "gone", "gone", "target is missing", {}, goneFolder},
      {"a paragraph separator in the name", here, here, "control character", {}, {}, false,
       "one\xE2\x80\xA9two"},
      {"a separator in the name", here, here, {}, {}, {}, false, "one/two"},
#ifdef _WIN32
      {"a name Windows keeps for a device", here, here, "\"lpt1\"", {}, {}, false, "lpt1.txt"},
      {"a device's name as the shortcut's file", here, here, "the file \"con.lnk\"", {}, {},
       false, "con"},
#else
      // On Windows these are the files "..lnk" and "...lnk".
      {"the name of this folder", here, here, {}, {}, {}, false, "."},
      {"the name of the folder above", here, here, {}, {}, {}, false, ".."},
#endif
      {"a name longer than the file system allows", here, here, {}, {}, {}, false,
       std::string(300, 'n')},
      // clang-format on
  };
  for (const Failure& failure : failures) {
    SCOPED_TRACE(failure.story);
    removeAll(temp().path());
    makeFolders(shortcuts);
    const std::string& way = failure.inTheWay;
    if (!way.empty()) way.ends_with('/') ? makeFolders(temp() / way) : writeFile(temp() / way);
    if (failure.prepare && !failure.prepare(shortcuts)) continue;
    play([&] {
      std::vector<std::string> before;
      inStep2([&] {
        if (failure.projectGone) removeAll(project);
        before = tree(temp().path());
        makeShortcut(failure.name, temp() / failure.folder);
        EXPECT_TRUE(user().isOpen("frmMain2"));
        user().click("frmMain2", "btnSkip");
      });
      EXPECT_EQ(tree(temp().path()), before);
      ASSERT_EQ(user().asked().size(), 1u);
      expectOops(user().asked()[0], temp() / failure.named, failure.reason);
    });
  }
}

}  // namespace
}  // namespace qb::test

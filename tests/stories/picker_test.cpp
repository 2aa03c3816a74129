// The folder picker as a caller and a user meet it: it opens in the program's folder, keeps the
// list, the path box and SelectedFolder in step, and yields the path box however it closes.

#include <algorithm>

#include "tests/stories/Story.h"
#include "tests/support/FailurePlan.h"

namespace qb::test {
namespace {

using Picker = PickerStory;

// Each show starts in the program's folder, whatever the last one yielded, and closing at once
// with Done or the close box yields that folder.
TEST_F(Picker, EachShowStartsInTheProgramsFolderAndYieldsItWhenClosedAtOnce) {
  play([&] {
    const std::string home = files::applicationFolder();
    const auto elsewhere = [&] {
      EXPECT_FALSE(user().enabled("frmMain"));
      walkTo(temp().path());
      user().click("frmGetFolder", "btnDone");
    };
    EXPECT_EQ(pick(elsewhere), temp().path());
    EXPECT_TRUE(user().enabled("frmMain"));
    // Handed the keyboard back by the system as the picker went, not by the program.
    EXPECT_TRUE(user().facts("frmMain", "").active);
    const auto atOnce = [&] {
      const auto rows = user().rows("frmGetFolder", "Dir1");
      // The way down from the root, then the folder's own subfolders.
      const auto way = files::ancestors(home);
      ASSERT_GE(rows.size(), way.size());
      EXPECT_EQ(std::vector<std::string>(rows.begin(), rows.begin() + way.size()), way);
      user().click("frmGetFolder", "btnDone");
    };
    EXPECT_EQ(pick(atOnce), home);
    EXPECT_EQ(pick([&] { user().close("frmGetFolder"); }), home);
  });
}

// One folder dropped on the picker is opened and shows in the path box; a file, or several items,
// do nothing. Typed text is lost to a folder opened in the list, as to an ancestor opened there.
TEST_F(Picker, ListsSubfoldersSortedIgnoringCaseWithoutFilesOrHiddenFoldersAndTakesDrops) {
  play([&] {
    for (const char* name : {"beta", "Alpha", "gamma", "Beta2", "Ärger", "zeta", "zeta/inner"})
      makeFolders(temp() / name);
    makeHiddenFolder(temp() / ".hidden");
    writeFile(temp() / "a file");
    const bool linked = makeFolderLink(temp() / "zeta", temp() / "link to zeta");
    std::vector<std::string> shown;
    pick([&] {
      walkTo(temp().path());
      const auto rows = user().rows("frmGetFolder", "Dir1");
      const auto way = files::ancestors(temp().path());
      shown.assign(rows.begin() + static_cast<long>(way.size()), rows.end());
      // Never taken as a move, which a file manager finishes by deleting what it moved; on Qt
      // what is not taken is refused, so that the source keeps it.
      for (const std::vector<std::string>& items :
           {std::vector<std::string>{temp() / "a file"}, {temp() / "zeta", temp() / "beta"}}) {
        const std::string taken = user().drop("frmGetFolder", items);
        EXPECT_NE(taken, "move");
#ifndef _WIN32
        EXPECT_EQ(taken, "");
#endif
        EXPECT_EQ(user().text("frmGetFolder", "txtPathlist"), temp().path());
      }
      EXPECT_NE(user().drop("frmGetFolder", {temp() / "zeta"}), "move");
      EXPECT_EQ(user().text("frmGetFolder", "txtPathlist"), temp() / "zeta");
      EXPECT_EQ(user().rows("frmGetFolder", "Dir1").back(), temp() / "zeta/inner");
      user().type("frmGetFolder", "txtPathlist", "typed, then lost");
      // In the path box Esc closes nothing and Enter starts a new line.
      user().press("frmGetFolder", "txtPathlist", Key::Escape);
      user().press("frmGetFolder", "txtPathlist", Key::Enter);
      EXPECT_EQ(user().text("frmGetFolder", "txtPathlist"), "typed, then lost\n");
      user().openFolder("frmGetFolder", "Dir1", temp().path());
      user().click("frmGetFolder", "btnDone");
    });
    EXPECT_EQ(program().getFolder.SelectedFolder, temp().path());
    std::vector<std::string> expected;
    for (const char* name : {"Alpha", "beta", "Beta2", "gamma", "link to zeta", "zeta", "Ärger"})
      if (linked || name != std::string("link to zeta")) expected.push_back(temp() / name);
    EXPECT_EQ(shown, expected);
    EXPECT_TRUE(user().asked().empty());
  });
}

// The list starts on the program's drive; re-picking the selected drive is no change, another
// moves the list to its root; opening a folder makes its drive the selected one.
TEST_F(Picker, PickingAnotherDriveMovesTheListToItsRootAndTheDriveFollowsTheList) {
  const OtherDrive other;
  if (other.root().empty()) GTEST_SKIP() << "no second drive: only root may mount one here";
  const std::string here = files::driveOf(temp().path());
  play([&] {
    pick([&] {
      const ControlFacts drives = user().facts("frmGetFolder", "Drive1");
      EXPECT_EQ(drives.choice, files::driveOf(files::applicationFolder()));
      for (const std::string& root : {here, other.root()})
        EXPECT_NE(std::find(drives.rows.begin(), drives.rows.end(), root), drives.rows.end());
      walkTo(temp().path());
      user().type("frmGetFolder", "txtPathlist", "typed");
      user().pickDrive("frmGetFolder", "Drive1", here);
      EXPECT_EQ(user().text("frmGetFolder", "txtPathlist"), "typed");
      user().pickDrive("frmGetFolder", "Drive1", other.root());
      EXPECT_EQ(user().text("frmGetFolder", "txtPathlist"), other.root());
      walkTo(temp().path());
      EXPECT_EQ(user().facts("frmGetFolder", "Drive1").choice, here);
      user().click("frmGetFolder", "btnDone");
    });
    EXPECT_EQ(program().getFolder.SelectedFolder, temp().path());
  });
}

// The program's own folder cannot be opened (removed while the program runs, or unreadable): the
// picker opens in the nearest folder above it that can be.
TEST_F(Picker, WithoutItsOwnFolderThePickerOpensInTheFolderAboveIt) {
  const std::vector<std::string> way = files::ancestors(files::applicationFolder());
  play([&] {
    planFaults({{faults::Call::Open, 0, kDenied, {}, way.back()}});
    EXPECT_EQ(pick([&] { user().click("frmGetFolder", "btnDone"); }), way[way.size() - 2]);
    planFaults();
  });
}

// A folder that went away between listing and opening, or whose name is not UTF-8 and so cannot
// pass through the path box unchanged.
TEST_F(Picker, AFolderThatCannotBeOpenedIsReportedAndTheListStaysPut) {
  std::vector<std::pair<std::string, const char*>> folders{{"gone", nullptr}};
#ifndef _WIN32
  folders.emplace_back("caf\xE9", "not UTF-8");
#endif
  for (const auto& [name, reason] : folders) {
    SCOPED_TRACE(name);
    removeAll(temp().path());
    makeFolders(temp() / name);
    play([&] {
      pick([&] {
        walkTo(temp().path());
        // Gone between listing and opening.
        user().rows("frmGetFolder", "Dir1");
        if (!reason) removeAll(temp() / name);
        user().openFolder("frmGetFolder", "Dir1", temp() / name);
        EXPECT_EQ(user().text("frmGetFolder", "txtPathlist"), temp().path());
        user().click("frmGetFolder", "btnDone");
      });
      ASSERT_EQ(user().asked().size(), 1u);
      expectOops(user().asked()[0], temp() / name, reason);
      EXPECT_EQ(tree(temp().path()).size(), reason ? 1u : 0u);
    });
  }
}

}  // namespace
}  // namespace qb::test

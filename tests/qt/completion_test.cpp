// The Linux path box completes folder names as they are typed, as the Win32 one does.

#include <QApplication>
#include <QListWidget>
#include <QScrollBar>
#include <QTest>
#include <set>

#include "tests/stories/Story.h"

namespace qb::test {
namespace {

using Completion = PickerStory;

// Folders on either side of the typed start, in sorted order and in the other letter case, and
// a file that starts alike: the folders that start with it, in any letter case, are offered, and
// a long one shows its end, with no scroll bar over the rows.
TEST_F(Completion, TheStartOfAPathOffersTheFoldersItLeadsToBesideThePicker) {
  play([&] {
    const std::string longName = "al" + std::string(240, 'x') + "end";
    for (const std::string& name : {std::string("aardvark"), std::string("Albatross"),
                                    std::string("alpha"), std::string("ALPINE"), longName})
      makeFolders(temp() / ("project/" + name));
    writeFile(temp() / "project/almanac");
    const std::string typed = temp() / "project/al";
    pick([&] {
      user().type("frmGetFolder", "txtPathlist", typed);
      QListWidget* list = nullptr;
      QWidget* picker = nullptr;
      for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->objectName() == "frmGetFolder") picker = top;
        if (top->objectName() == "folderCompletions") list = static_cast<QListWidget*>(top);
      }
      ASSERT_TRUE(picker && list);
      // The folder is read on another thread: the list shows once it has been.
      for (int wait = 0; wait < 100 && !list->isVisible(); ++wait)
        QTest::qWait(20);
      std::set<std::string> offered;
      for (int row = 0; row < list->count(); ++row)
        offered.insert(list->item(row)->text().toStdString());
      EXPECT_EQ(offered, (std::set<std::string>{temp() / "project/Albatross",
                                                temp() / "project/alpha", temp() / "project/ALPINE",
                                                temp() / ("project/" + longName)}));
      EXPECT_FALSE(list->horizontalScrollBar()->isVisible());
      EXPECT_LE(list->visualItemRect(list->item(3)).bottom(), list->viewport()->rect().bottom());
      // Offered, not taken: the box keeps what was typed, and no control is covered.
      EXPECT_EQ(user().text("frmGetFolder", "txtPathlist"), typed);
      EXPECT_FALSE(list->geometry().intersects(picker->frameGeometry()));
      user().click("frmGetFolder", "btnDone");
      EXPECT_FALSE(list->isVisible());
    });
    EXPECT_EQ(program().getFolder.SelectedFolder, typed);
  });
}

}  // namespace
}  // namespace qb::test

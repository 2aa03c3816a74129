// The Linux path box completes folder names as they are typed, as the Win32 one does.

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QPlainTextEdit>
#include <QTest>
#include <set>

#include "tests/stories/Story.h"

namespace qb::test {
namespace {

class Completion : public Story {
 protected:
  Completion() { ending_ = Ending::StaysOpen; }
};

TEST_F(Completion, TheStartOfAPathOffersTheFoldersItLeadsToAndNoFiles) {
  play([&] {
    makeFolders(temp() / "project/alpha");
    makeFolders(temp() / "project/Albatross/inner");
    writeFile(temp() / "project/almanac");
    pick([&] {
      user().type("frmGetFolder", "txtPathlist", temp() / "project/al");
      QCompleter* completer = nullptr;
      for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->objectName() == "frmGetFolder") completer = top->findChild<QCompleter*>();
      }
      ASSERT_TRUE(completer);
      // The folder is read on another thread: the list shows once it has been.
      for (int wait = 0; wait < 100 && !completer->popup()->isVisible(); ++wait)
        QTest::qWait(20);
      std::set<std::string> offered;
      for (int row = 0; completer->setCurrentRow(row); ++row)
        offered.insert(completer->currentCompletion().toStdString());
      EXPECT_EQ(offered, std::set<std::string>{temp() / "project/alpha"});
      user().click("frmGetFolder", "btnDone");
    });
  });
}

}  // namespace
}  // namespace qb::test

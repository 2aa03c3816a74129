// The frame Qt draws itself on Wayland offers maximise even on a window of fixed size: the
// request changes nothing, and the program and the user's work survive it.

#include <QApplication>
#include <QTest>
#include <QWindow>

#include "tests/stories/Story.h"

namespace qb::test {
namespace {

class Frame : public Story {
 protected:
  Frame() { ending_ = Ending::StaysOpen; }

  // What the frame's maximise button does.
  static void maximise(const char* name) {
    QWidget* window = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (top->isVisible() && top->objectName() == QLatin1String(name)) window = top;
    }
    ASSERT_TRUE(window);
    const QSize before = window->size();
    window->windowHandle()->setWindowStates(Qt::WindowMaximized);
    // Put back as soon as the window system lets it, which takes longer on a busy machine.
    QTest::qWait(300);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->size() == before; }, 5000)) << name;
  }
};

TEST_F(Frame, MaximiseOnAFixedWindowKeepsItAsItIs) {
  play([&] {
    maximise("frmMain");
    const std::string typed = temp() / "kept";
    pick([&] {
      user().type("frmGetFolder", "txtPathlist", typed);
      maximise("frmGetFolder");
      EXPECT_EQ(user().text("frmGetFolder", "txtPathlist"), typed);
      user().click("frmGetFolder", "btnDone");
    });
    EXPECT_EQ(program().getFolder.SelectedFolder, typed);
  });
}

}  // namespace
}  // namespace qb::test

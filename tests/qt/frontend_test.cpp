// What only the Qt front end shows: the folder list's keys and clicks, window frames and
// placement, and the message box's buttons.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "platform/files.h"
#include "platform/qt/DirListWidget.h"
#include "platform/qt/QtToolkit.h"
#include "tests/support/Disk.h"
#include "tests/support/ScriptedUser.h"
#include "wizard/Quenbrook.h"

namespace qb::test {
namespace {

class QtFolderList : public ::testing::Test {
 protected:
  QtFolderList() {
    for (const char* name : {"apple", "Banana", "cherry", "Berry"}) {
      std::filesystem::create_directory(temp / name);
    }
    list.onOpen = [this](const std::string& path) { opened.push_back(path); };
    list.resize(300, 400);
    list.show();
    list.setPath(temp.path());
    list.ensureListed();
    row0 = static_cast<int>(files::ancestors(temp.path()).size());
  }
  QPoint centreOf(int row) { return list.visualRect(list.model()->index(row, 0)).center(); }
  std::string selected() { return list.pathOfRow(list.currentIndex().row()); }

  TempFolder temp;
  DirListWidget list{nullptr};
  std::vector<std::string> opened;
  int row0 = 0;  // the first subfolder's row
};

TEST_F(QtFolderList, ASingleClickSelectsAndADoubleClickOpens) {
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, centreOf(row0 + 1));
  EXPECT_EQ(selected(), temp / "Banana");
  EXPECT_TRUE(opened.empty());
  QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, centreOf(row0 + 1));
  EXPECT_EQ(opened, std::vector<std::string>{temp / "Banana"});
}

TEST_F(QtFolderList, ArrowKeysAndTypingMoveTheSelectionAndEnterOpens) {
  list.setFocus();
  QTest::keyClicks(&list, "ch");
  EXPECT_EQ(selected(), temp / "cherry");
  QTest::keyClick(&list, Qt::Key_Up);
  EXPECT_EQ(selected(), temp / "Berry");
  EXPECT_TRUE(opened.empty());
  QTest::keyClick(&list, Qt::Key_Return);
  EXPECT_EQ(opened, std::vector<std::string>{temp / "Berry"});
}

TEST(QtWindows, StepOneIsInTheTaskbarAndThePickerSitsCentredOverIt) {
  auto user = makeScriptedUser();
  Quenbrook program(user->toolkit());
  user->toolkit().dispatch([&] { program.start(); });
  QWidget* step1 = nullptr;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->isVisible() && widget->objectName() == "frmMain") step1 = widget;
  }
  ASSERT_TRUE(step1);
  EXPECT_EQ(step1->windowFlags() & Qt::WindowType_Mask, Qt::Window);
  EXPECT_EQ(step1->minimumSize(), step1->maximumSize());
  EXPECT_FALSE(step1->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_FALSE(step1->windowIcon().isNull());
  user->whenOpens("frmGetFolder", [&] {
    QWidget* picker = QApplication::activeModalWidget();
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (widget->isVisible() && widget->objectName() == "frmGetFolder") picker = widget;
    }
    ASSERT_TRUE(picker);
    EXPECT_EQ(picker->windowFlags() & Qt::WindowType_Mask, Qt::Dialog);
    EXPECT_LE(
        (picker->frameGeometry().center() - step1->frameGeometry().center()).manhattanLength(), 4);
    user->close("frmGetFolder");
  });
  user->type("frmMain", "Text1", "ignored: the box is read-only");
  EXPECT_EQ(user->text("frmMain", "Text1"), "");
  user->toolkit().dispatch([&] { program.ui.showModal(program.getFolder); });
}

TEST(QtBoxes, AQuestionHasYesAndNoAndAPlainMessageOnlyOk) {
  QtToolkit toolkit;
  std::vector<QMessageBox::StandardButtons> seen;
  const auto pressLater = [&](QMessageBox::StandardButton press) {
    QTimer::singleShot(0, [&seen, press] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_TRUE(box);
      seen.push_back(box->standardButtons());
      EXPECT_EQ(box->icon(), seen.size() == 3 ? QMessageBox::NoIcon : QMessageBox::Question);
      box->button(press)->click();
    });
  };
  pressLater(QMessageBox::Yes);
  EXPECT_EQ(toolkit.messageBox("Really?", kYesNo | kQuestion, "Query!"), kYes);
  pressLater(QMessageBox::No);
  EXPECT_EQ(toolkit.messageBox("Really?", kYesNo | kQuestion, "Query!"), kNo);
  pressLater(QMessageBox::Ok);
  EXPECT_EQ(toolkit.messageBox("Done", kOkOnly, "Good news!"), kOk);
  EXPECT_EQ(seen, (std::vector<QMessageBox::StandardButtons>{QMessageBox::Yes | QMessageBox::No,
                                                             QMessageBox::Yes | QMessageBox::No,
                                                             QMessageBox::Ok}));
}

TEST(QtBoxes, TheInputBoxTakesEnterAsOkAndEscapeAsCancel) {
  QtToolkit toolkit;
  const auto answerLater = [](const char* text, Qt::Key key) {
    QTimer::singleShot(0, [text, key] {
      QWidget* box = QApplication::activeModalWidget();
      ASSERT_TRUE(box);
      QWidget* field = box->focusWidget();
      ASSERT_TRUE(field);
      QTest::keyClicks(field, text);
      QTest::keyClick(field, key);
    });
  };
  answerLater("Docs", Qt::Key_Return);
  EXPECT_EQ(toolkit.inputBox("New folder name", "Create new folder"), "Docs");
  answerLater("Docs", Qt::Key_Escape);
  EXPECT_EQ(toolkit.inputBox("New folder name", "Create new folder"), "");
}

}  // namespace
}  // namespace qb::test

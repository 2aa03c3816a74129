#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "tests/support/ScriptedUser.h"

// The Qt stories run on the offscreen platform, with the real nested event loops.
int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  // In English, whatever the machine's language, unless a story says otherwise.
  setenv("LANGUAGE", "en", 1);
  // The offscreen platform says, each time, which window operations it lacks; nothing else is
  // hidden.
  qInstallMessageHandler(
      [](QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (!text.startsWith(QLatin1String("This plugin does not support"))) {
          qt_message_output(type, context, text);
        }
      });
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  // A story takes well under a second; one that hangs is stopped and told.
  qb::test::limitEachTest(std::chrono::seconds(20));
  return RUN_ALL_TESTS();
}

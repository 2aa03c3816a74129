#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

// The Qt stories run on the offscreen platform, with the real nested event loops.
namespace {

// The offscreen platform cannot raise windows and says so each time; nothing else is hidden.
void quietAboutRaise(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.contains(QLatin1String("does not support raise"))) return;
  qt_message_output(type, context, message);
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  qInstallMessageHandler(quietAboutRaise);
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

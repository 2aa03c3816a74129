#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

// The Qt stories run on the offscreen platform, with the real nested event loops.
namespace {

// The offscreen platform says, each time, which window operations it lacks; nothing else is
// hidden.
void quietAboutOffscreen(QtMsgType type, const QMessageLogContext& context,
                         const QString& message) {
  if (message.startsWith(QLatin1String("This plugin does not support"))) return;
  qt_message_output(type, context, message);
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  qInstallMessageHandler(quietAboutOffscreen);
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

// The yardstick for start-up: the least a Qt program can do to show step 1's window. Same
// title, same client size and place, three plain controls at the same spots, nothing else.

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QWidget>
#include <cmath>

#include "bench/first_paint.h"

namespace {

int pixels(int twips, double pixelsPerTwip) {
  return static_cast<int>(std::lround(twips * pixelsPerTwip));
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  qb::bench::FirstPaintProbe probe(QStringLiteral("bareWindow"), [] { return std::string(); });

  const QScreen* screen = QGuiApplication::primaryScreen();
  const double perTwip = (screen ? screen->logicalDotsPerInch() : 96.0) / 1440.0;
  auto place = [perTwip](QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(pixels(left, perTwip), pixels(top, perTwip), pixels(width, perTwip),
                        pixels(height, perTwip));
  };

  QWidget window;
  window.setObjectName(QStringLiteral("bareWindow"));
  window.setWindowTitle(QStringLiteral("Step 1 - Select or create a project folder"));
  window.setFixedSize(pixels(4680, perTwip), pixels(1065, perTwip));
  auto* browse = new QPushButton(QStringLiteral("Browse"), &window);
  place(browse, 3420, 420, 1155, 255);
  auto* text = new QLineEdit(&window);
  place(text, 120, 120, 4455, 285);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), &window);
  place(cancel, 3420, 720, 1155, 255);

  if (screen) {
    QRect frame(QPoint(), window.size());
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
  }
  window.show();
  return QApplication::exec();
}

#include "platform/qt/QtToolkit.h"

#include <QApplication>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPlatformSurfaceEvent>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QTranslator>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/catalogue.h"
#include "platform/frontend/wrap.h"
#include "platform/qt/QtWindow.h"

// The resource initialiser must be named from the global namespace.
static void initPictures() {
  Q_INIT_RESOURCE(quenbrook);
}

namespace qb {

namespace {

// Message texts use Windows line ends; Qt wants plain ones.
QString shown(const std::string& text) {
  return QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QMessageBox::Icon iconOf(int flags) {
  return (flags & kIconMask) == kQuestion ? QMessageBox::Question : QMessageBox::NoIcon;
}

// A box sits centred over the window it belongs to and stays above it; being application
// modal, it keeps every window of the program from input while it is open.
void placeOver(QDialog& box, LiveWindow* owner) {
  box.setWindowModality(Qt::ApplicationModal);
  QWidget* ownerWidget = owner ? static_cast<QtWindow*>(owner)->widget() : nullptr;
  if (!ownerWidget) return;
  box.adjustSize();
  QRect frame(QPoint(), box.sizeHint());
  frame.moveCenter(ownerWidget->frameGeometry().center());
  box.move(frame.topLeft());
  box.winId();
  box.windowHandle()->setTransientParent(ownerWidget->windowHandle());
}

// Every window here has a fixed size, yet the frame Qt draws on Wayland offers maximise, and a
// maximised window that keeps its size breaks the Wayland connection. So a window asked to
// maximise may take the size it is given until it has been put back as it was.
class FixedSize : public QObject {
 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* window = qobject_cast<QWindow*>(watched);
    if (!window) return false;
    if (event->type() == QEvent::PlatformSurface &&
        static_cast<QPlatformSurfaceEvent*>(event)->surfaceEventType() ==
            QPlatformSurfaceEvent::SurfaceCreated) {
      connect(window, &QWindow::windowStateChanged, window, [window](Qt::WindowState state) {
        if (state != Qt::WindowMaximized && state != Qt::WindowFullScreen) return;
        QWidget* widget = widgetOf(window);
        if (!widget || widget->property(kFixed).isValid()) return;
        widget->setProperty(kFixed, widget->maximumSize());
        widget->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
      });
    } else if (event->type() == QEvent::WindowStateChange && event->spontaneous()) {
      // What the window system says the window has become.
      QWidget* widget = widgetOf(window);
      if (!widget || !widget->property(kFixed).isValid()) return false;
      if (window->windowStates() & (Qt::WindowMaximized | Qt::WindowFullScreen)) {
        widget->setProperty(kGrown, true);
        putBack(window, widget, 50);
      } else if (widget->property(kGrown).isValid()) {
        widget->setMaximumSize(widget->property(kFixed).toSize());
        widget->setProperty(kFixed, QVariant());
        widget->setProperty(kGrown, QVariant());
      }
    }
    return false;
  }
  static QWidget* widgetOf(const QWindow* window) {
    for (QWidget* widget : QApplication::topLevelWidgets())
      if (widget->windowHandle() == window) return widget;
    return nullptr;
  }
  // Asked too soon, a compositor may not yet count the window as maximised and ignore the
  // request, so it is made again until the window is back.
  static void putBack(QWindow* window, QWidget* widget, int tries) {
    QTimer::singleShot(kSettle, widget, [=, handle = QPointer<QWindow>(window)] {
      if (!handle || !widget->property(kGrown).isValid()) return;
      handle->setWindowStates(Qt::WindowNoState);
      if (tries > 1) putBack(window, widget, tries - 1);
    });
  }
  static constexpr const char* kFixed = "quenbrookFixedSize";
  static constexpr const char* kGrown = "quenbrookGrown";
  static constexpr int kSettle = 100;  // ms
};

}  // namespace

QtToolkit::QtToolkit() : fixedSize_(std::make_unique<FixedSize>()) {
  initPictures();
  QApplication::setQuitOnLastWindowClosed(false);
  qApp->installEventFilter(fixedSize_.get());
}

std::unique_ptr<LiveWindow> QtToolkit::makeWindow(const WindowSpec& spec) {
  return std::make_unique<QtWindow>(spec);
}

int QtToolkit::run() {
  if (quit_) return 0;
  running_ = true;
  const int code = QApplication::exec();
  running_ = false;
  return code;
}

void QtToolkit::runUntil(const std::function<bool()>& done) {
  while (!done() && !quit_)
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void QtToolkit::quit() {
  quit_ = true;
  // Outside the main loop, exit() would only leave a flag that ends every later loop at once.
  if (running_) QCoreApplication::exit(0);
}

void QtToolkit::post(std::function<void()> task) {
  QTimer::singleShot(0, &posted_, std::move(task));
}

int QtToolkit::showMessageBox(LiveWindow* owner, const std::string& prompt, int flags,
                              const std::string& title) {
  QMessageBox box(iconOf(flags), shown(title), QString());
  // A folder's name is never markup.
  box.setTextFormat(Qt::PlainText);
  // A long path has no spaces to wrap at: broken here, it keeps the box (and the reason at its
  // end) within the screen. A third of the screen leaves room for the icon and the margins, and
  // two thirds of its height for the title and the buttons.
  QWidget* ownerWidget = owner ? static_cast<QtWindow*>(owner)->widget() : nullptr;
  const QScreen* screen = ownerWidget ? ownerWidget->screen() : QGuiApplication::primaryScreen();
  const QRect area = screen->availableGeometry();
  const QFontMetrics metrics(box.font());
  const int lines = std::max(4, area.height() * 2 / 3 / std::max(metrics.lineSpacing(), 1));
  box.setText(
      QString::fromStdString(fitToBox(shown(prompt).toStdString(), std::min(area.width() / 3, 400),
                                      lines, [&](std::string_view text) {
                                        return metrics.horizontalAdvance(QString::fromUtf8(
                                            text.data(), static_cast<qsizetype>(text.size())));
                                      })));
  if ((flags & kButtonsMask) == kYesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
  } else {
    box.setStandardButtons(QMessageBox::Ok);
  }
  placeOver(box, owner);
  const int pressed = box.exec();
  if ((flags & kButtonsMask) == kYesNo) return pressed == QMessageBox::Yes ? kYes : kNo;
  return kOk;
}

std::string QtToolkit::showInputBox(LiveWindow* owner, const std::string& prompt,
                                    const std::string& title) {
  QInputDialog box;
  box.setWindowTitle(shown(title));
  box.setLabelText(shown(prompt));
  placeOver(box, owner);
  return box.exec() == QDialog::Accepted ? box.textValue().toStdString() : std::string();
}

namespace {

QtMessageHandler qtsOwn = nullptr;

// Qt ends the program when no platform can start (no display to reach, a compositor that is not
// running, a -platform that is not there): it is said plainly and the program ends with status
// 1, instead of Qt's abort. Qt's own warnings before it still say which platform failed and why.
void withoutDisplay(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type != QtFatalMsg) return qtsOwn(type, context, message);
  std::fprintf(stderr, "%s\n",
               tr("Quenbrook needs a graphical display to show its windows, and none could be "
                  "reached (DISPLAY and WAYLAND_DISPLAY name none that is running, or the platform "
                  "asked for cannot start).")
                   .c_str());
  std::fflush(stderr);
  std::_Exit(1);
}

}  // namespace

std::unique_ptr<Toolkit> makeNativeToolkit(int& argc, char** argv) {
  // Tests make their own application first.
  if (!QCoreApplication::instance()) {
    qtsOwn = qInstallMessageHandler(withoutDisplay);
    new QApplication(argc, argv);
    qInstallMessageHandler(qtsOwn);
    // Qt sets the user's locale as it starts, which undoes the messages' locale that gettext
    // needs to heed LANGUAGE in a session without one: the language is chosen again.
    chooseLanguage();
  }
  // Qt's own texts (the boxes' buttons) in the user's language too, from Qt's translations, and
  // the windows mirrored where the language is written from right to left.
  static QPointer<QTranslator> qtTexts;
  delete qtTexts;
  qtTexts = new QTranslator(qApp);
  if (qtTexts->load(QLocale(QString::fromStdString(language())), QStringLiteral("qtbase"),
                    QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(qtTexts);
  }
  QGuiApplication::setLayoutDirection(rightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
  // The menu entry's name: desktops find the windows' icon and name by it, as the app id on
  // Wayland and as the class in WM_CLASS on X, which Qt takes from the application's name.
  const QString desktopEntry = QStringLiteral("org.quenbrook.Quenbrook");
  QGuiApplication::setDesktopFileName(desktopEntry);
  QCoreApplication::setApplicationName(desktopEntry);
  return std::make_unique<QtToolkit>();
}

}  // namespace qb

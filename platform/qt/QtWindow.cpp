#include "platform/qt/QtWindow.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QUrl>
#include <QWindow>
#include <cmath>
#include <functional>

#include "platform/files.h"
#include "platform/qt/DirListWidget.h"
#include "platform/qt/FolderCompletion.h"
#include "platform/qt/fitting.h"
#include "platform/qt/pictures.h"

namespace qb {

namespace {

// The top-level widget; a close from the window frame goes to the form, which decides, and so
// do items dropped from a file manager.
class FormWidget : public QWidget {
 public:
  bool dialog = false;  // belongs to the window that opens it
  bool modal = false;   // the other windows wait for it
  std::function<void()> onClose;
  std::function<bool(const std::vector<std::string>&)> onDrop;

 protected:
  void closeEvent(QCloseEvent* event) override {
    event->ignore();
    if (onClose) onClose();
  }
  // What is dropped is only looked at: the source is told it was linked to, or copied where it
  // offers no link, and never moved, which a file manager would finish by deleting it.
  static bool harmless(QDropEvent* event) {
    const Qt::DropActions offered = event->possibleActions();
    if (!(offered & (Qt::LinkAction | Qt::CopyAction))) return false;
    event->setDropAction(offered & Qt::LinkAction ? Qt::LinkAction : Qt::CopyAction);
    return true;
  }
  void dragEnterEvent(QDragEnterEvent* event) override {
    if (!localPaths(event->mimeData()).empty() && harmless(event)) event->accept();
  }
  void dragMoveEvent(QDragMoveEvent* event) override {
    if (harmless(event)) event->accept();
  }
  void dropEvent(QDropEvent* event) override {
    const std::vector<std::string> paths = localPaths(event->mimeData());
    // A drop the form does not take is refused, so that the source keeps what it offered.
    if (!paths.empty() && onDrop && harmless(event) && onDrop(paths)) {
      event->accept();
    } else {
      event->ignore();
    }
  }

 private:
  // The dropped items as paths, when every one of them is on this machine's disks.
  static std::vector<std::string> localPaths(const QMimeData* data) {
    std::vector<std::string> paths;
    for (const QUrl& url : data->urls()) {
      if (!url.isLocalFile()) return {};
      paths.push_back(url.toLocalFile().toStdString());
    }
    return paths;
  }
};

// What a screen reader is told of the window itself, which Qt would call a filler: a window or
// a dialog, and modal while the others wait for it.
class FormAccessible : public QAccessibleWidget {
 public:
  explicit FormAccessible(FormWidget* form)
      : QAccessibleWidget(form, form->dialog ? QAccessible::Dialog : QAccessible::Window) {}
  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.modal = static_cast<const FormWidget*>(widget())->modal;
    return state;
  }
};

QAccessibleInterface* formAccessible(const QString& /*className*/, QObject* object) {
  auto* form = dynamic_cast<FormWidget*>(object);
  return form ? new FormAccessible(form) : nullptr;
}

QString qs(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

QtWindow::QtWindow(const WindowSpec& spec) : spec_(spec) {
  // Once, before a screen reader can ask about any window.
  static const bool readable = (QAccessible::installFactory(formAccessible), true);
  (void)readable;
  auto* window = new FormWidget;
  window_ = window;
  window->dialog = !spec.inTaskbar;
  window->setObjectName(qs(spec.name));
  window->setWindowTitle(qs(spec.caption));
  window->setWindowIcon(windowIcon(spec.icon));
  Qt::WindowFlags flags = spec.inTaskbar ? Qt::Window : Qt::Dialog;
  flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint;
  if (spec.closeBox) flags |= Qt::WindowCloseButtonHint;
  window->setWindowFlags(flags);
  window->setAttribute(Qt::WA_QuitOnClose, false);
  window->onClose = [this] { reportClose(); };
  if (spec.takesDrops) {
    window->setAcceptDrops(true);
    window->onDrop = [this](const std::vector<std::string>& paths) { return reportDrop(paths); };
  }

  QWidget* previous = nullptr;
  for (std::size_t i = 0; i < spec.controls.size(); ++i) {
    QWidget* made = makeControl(spec.controls[i], static_cast<int>(i));
    controls_.push_back(made);
    if (previous && made->focusPolicy() != Qt::NoFocus) QWidget::setTabOrder(previous, made);
    if (made->focusPolicy() != Qt::NoFocus) previous = made;
  }
  layOut();
  // A box named by a label's caption is that label's box: a reader says the label with it.
  for (std::size_t i = 0; i < spec.controls.size(); ++i) {
    if (spec.controls[i].kind != ControlKind::Label) continue;
    for (std::size_t box = 0; box < spec.controls.size(); ++box) {
      if (spec.controls[box].kind == ControlKind::TextBox &&
          accessibleNameOf(spec.controls[box]) == spec.controls[i].caption) {
        static_cast<QLabel*>(controls_[i])->setBuddy(controls_[box]);
      }
    }
  }
}

QtWindow::~QtWindow() {
  for (const auto& connection : connections_)
    QObject::disconnect(connection);
  if (!window_) return;
  static_cast<FormWidget*>(window_.data())->onClose = nullptr;
  static_cast<FormWidget*>(window_.data())->onDrop = nullptr;
  // The widgets go later than this window: nothing of theirs may reach it any more.
  for (QWidget* control : controls_) {
    if (auto* list = dynamic_cast<DirListWidget*>(control)) {
      list->onOpen = [](const std::string&) {};
      list->onFailure = [](const PlatformError&) {};
    }
  }
  window_->setObjectName(QString());
  // A window system without a window manager leaves the keyboard nowhere when the active
  // window goes; the owner takes it, as on Windows.
  QWindow* owner = window_->isActiveWindow() && window_->windowHandle()
                       ? window_->windowHandle()->transientParent()
                       : nullptr;
  window_->hide();
  if (owner) owner->requestActivate();
  // Unload may come from a handler of one of this window's own controls, still on the stack.
  window_->deleteLater();
}

QWidget* QtWindow::makeControl(const ControlSpec& spec, int index) {
  QWidget* made = nullptr;
  switch (spec.kind) {
    case ControlKind::Label: {
      made = new QLabel(qs(spec.caption), window_);
      break;
    }
    case ControlKind::TextBox: {
      if (spec.flags & kMultiLine) {
        auto* box = new QPlainTextEdit(window_);
        box->setLineWrapMode(QPlainTextEdit::NoWrap);
        box->setTabChangesFocus(true);
        box->setReadOnly(spec.flags & kReadOnly);
        // The box a user types a path into offers the folders that path leads to.
        if (!(spec.flags & kReadOnly)) offerFolders(box);
        made = box;
      } else {
        auto* box = new QLineEdit(window_);
        box->setReadOnly(spec.flags & kReadOnly);
        made = box;
      }
      break;
    }
    case ControlKind::Button: {
      auto* button = new QPushButton(qs(spec.caption), window_);
      button->setAutoDefault(false);
      if (spec.picture != Picture::None) {
        button->setIcon(pictureIcon(spec.picture));
      }
      connections_.push_back(
          QObject::connect(button, &QPushButton::clicked, [this, index] { reportClick(index); }));
      made = button;
      break;
    }
    case ControlKind::DriveList: {
      auto* drives = new QComboBox(window_);
      for (const std::string& root : files::drives())
        drives->addItem(qs(root), qs(root));
      // Only another drive is a change: re-picking the selected one raises nothing.
      connections_.push_back(QObject::connect(drives, &QComboBox::currentIndexChanged,
                                              [this, index] { reportDrivePicked(index); }));
      made = drives;
      break;
    }
    case ControlKind::DirList: {
      auto* list = new DirListWidget(window_);
      list->onOpen = [this, index](const std::string& path) { reportFolderOpened(index, path); };
      list->onFailure = [this](const PlatformError& error) { reportFailure(error); };
      made = list;
      break;
    }
  }
  made->setObjectName(qs(spec.name));
  // A path reads from left to right in every language.
  if (spec.flags & kPath) made->setLayoutDirection(Qt::LeftToRight);
  made->setFont(fontOf(spec.font, made->font()));
  if (!spec.tooltip.empty()) made->setToolTip(qs(spec.tooltip));
  made->setAccessibleName(qs(accessibleNameOf(spec)));
  // A drop-down list is read by its current choice; its name comes from a label, never seen.
  if (spec.kind == ControlKind::DriveList) {
    auto* label = new QLabel(made->accessibleName(), window_);
    label->setBuddy(made);
    label->hide();
  }
  // A drop anywhere on the window is the window's, not a box's that would paste its address.
  if (spec_.takesDrops) made->setAcceptDrops(false);
  return made;
}

// The table's twips at the screen's DPI, and more, alike for the whole window, where the
// desktop's font needs more room than the table gives a control, or a label more than the window
// is wide: a few percent at a time, until every text shows whole; a window five times its size
// would no longer fit a screen. Qt mirrors what it lays out itself, not places given outright: a
// window written from right to left has its controls placed from its right edge.
void QtWindow::layOut() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const double perTwip = (screen ? screen->logicalDotsPerInch() : 96.0) / 1440.0;
  const bool mirrored = window_->layoutDirection() == Qt::RightToLeft;
  double scale = 1;
  const auto place = [&] {
    const auto px = [&](int twips) {
      return static_cast<int>(std::lround(twips * perTwip * scale));
    };
    const int clientWidth = px(spec_.clientWidth);
    bool whole = true;
    for (std::size_t i = 0; i < controls_.size(); ++i) {
      const ControlSpec& spec = spec_.controls[i];
      QWidget* control = controls_[i];
      const bool autoSize = spec.flags & kAutoSize;
      const int width = autoSize ? control->sizeHint().width() : px(spec.rect.width);
      const int left = px(spec.rect.left);
      control->setGeometry(mirrored ? clientWidth - left - width : left, px(spec.rect.top), width,
                           px(spec.rect.height));
      whole = whole && showsWhole(*control, qs(spec.caption), autoSize) &&
              (!autoSize || width <= clientWidth - 2 * left);
    }
    window_->setFixedSize(clientWidth, px(spec_.clientHeight));
    return whole;
  };
  while (!place() && scale < 5)
    scale *= 1.03;
  // A 32-pixel picture in a 45-pixel button, as large in the button whatever the scale.
  for (QWidget* control : controls_) {
    if (auto* button = qobject_cast<QPushButton*>(control); button && !button->icon().isNull()) {
      const int size = static_cast<int>(std::lround(button->height() * 32.0 / 45.0));
      button->setIconSize(QSize(size, size));
    }
  }
}

template <typename T>
T* QtWindow::control(int index) const {
  auto* found = dynamic_cast<T*>(controls_.at(static_cast<std::size_t>(index)));
  if (!found) throw std::logic_error(spec_.name + ": control of another kind");
  return found;
}

void QtWindow::show(LiveWindow* owner) {
  QWidget* ownerWidget = owner ? static_cast<QtWindow*>(owner)->widget() : nullptr;
  QRect area;
  if (spec_.placement == Placement::CenterOwner && ownerWidget) {
    area = ownerWidget->frameGeometry();
  } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    area = screen->availableGeometry();
  }
  QRect frame(QPoint(), window_->size());
  frame.moveCenter(area.center());
  window_->move(frame.topLeft());
  static_cast<FormWidget*>(window_.data())->modal = modal();
  if (ownerWidget) {
    window_->winId();
    window_->windowHandle()->setTransientParent(ownerWidget->windowHandle());
  }
  window_->show();
  window_->raise();
  window_->activateWindow();
  for (QWidget* widget : controls_) {
    if (widget->focusPolicy() != Qt::NoFocus) {
      widget->setFocus(Qt::OtherFocusReason);
      break;
    }
  }
}

void QtWindow::setEnabled(bool enabled) {
  // Qt drops a disabled control's focus; the user comes back to the control they left, as a
  // dialog does on Windows, not to the first in the tab order.
  if (!enabled && window_->isEnabled()) focus_ = window_->focusWidget();
  window_->setEnabled(enabled);
  if (enabled && focus_ && focus_->isEnabled()) focus_->setFocus(Qt::ActiveWindowFocusReason);
}

std::string QtWindow::text(int control) const {
  QWidget* widget = controls_.at(static_cast<std::size_t>(control));
  if (auto* line = qobject_cast<QLineEdit*>(widget)) return line->text().toStdString();
  if (auto* box = qobject_cast<QPlainTextEdit*>(widget)) return box->toPlainText().toStdString();
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text().toStdString();
  if (auto* button = qobject_cast<QPushButton*>(widget)) return button->text().toStdString();
  throw std::logic_error(spec_.name + ": this control has no text");
}

void QtWindow::setText(int control, const std::string& text) {
  QWidget* widget = controls_.at(static_cast<std::size_t>(control));
  if (auto* line = qobject_cast<QLineEdit*>(widget)) {
    line->setText(qs(text));
    line->setCursorPosition(0);
  } else if (auto* box = qobject_cast<QPlainTextEdit*>(widget)) {
    box->setPlainText(qs(text));
  } else {
    throw std::logic_error(spec_.name + ": this control takes no text");
  }
}

void QtWindow::repaint(int control) {
  controls_.at(static_cast<std::size_t>(control))->repaint();
}

std::string QtWindow::dirPath(int control) const {
  return this->control<DirListWidget>(control)->path();
}

bool QtWindow::setDirPath(int control, const std::string& path) {
  return this->control<DirListWidget>(control)->setPath(path);
}

void QtWindow::rereadDir(int control) {
  this->control<DirListWidget>(control)->reread();
}

std::string QtWindow::drive(int control) const {
  return this->control<QComboBox>(control)->currentData().toString().toStdString();
}

void QtWindow::setDrive(int control, const std::string& path) {
  auto* drives = this->control<QComboBox>(control);
  const QSignalBlocker quiet(drives);
  const QString root = qs(files::driveOf(path));
  int row = drives->findData(root);
  if (row < 0) {
    drives->addItem(root, root);
    row = drives->count() - 1;
  }
  drives->setCurrentIndex(row);
}

}  // namespace qb

// The scripted user over the real Qt front end: real widgets on the offscreen platform, real
// nested event loops, and input through QTest's mouse and key events.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QFontInfo>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMetaEnum>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTest>
#include <map>

#include "platform/qt/DirListWidget.h"
#include "platform/qt/QtWindow.h"
#include "tests/support/ScriptedUser.h"

namespace qb::test {

namespace {

class QtUser : public ScriptedUser {
 public:
  ~QtUser() override {
    QApplication::setFont(desktopFont_);
    for (QWidget* widget : QApplication::topLevelWidgets())
      widget->hide();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  void click(const std::string& window, const std::string& control) override {
    if (auto* button = find<QPushButton>(window, control))
      QTest::mouseClick(button, Qt::LeftButton);
  }

  void type(const std::string& window, const std::string& control,
            const std::string& text) override {
    QWidget* box = focus(window, control);
    if (!box) return;
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Delete);
    // Line breaks are the Enter key, other ASCII is typed key by key, and the rest comes as
    // an input method commits it, as for Cyrillic, CJK or emoji.
    for (const char32_t c : QString::fromStdString(text).toUcs4()) {
      if (c < 0x80) {
        c == '\n' ? QTest::keyClick(box, Qt::Key_Return)
                  : QTest::keyClick(box, static_cast<char>(c));
        continue;
      }
      QInputMethodEvent commit;
      commit.setCommitString(QString::fromUcs4(&c, 1));
      QApplication::sendEvent(box, &commit);
    }
  }

  void keys(const std::string& window, const std::string& control,
            const std::string& text) override {
    if (QWidget* widget = focus(window, control)) QTest::keyClicks(widget, text.c_str());
  }

  void press(const std::string& window, const std::string& control, Key key) override {
    static const std::map<Key, Qt::Key> kKeys{
        {Key::Up, Qt::Key_Up},         {Key::Down, Qt::Key_Down}, {Key::Enter, Qt::Key_Return},
        {Key::Escape, Qt::Key_Escape}, {Key::Tab, Qt::Key_Tab},   {Key::Space, Qt::Key_Space}};
    // As the keyboard sends it: to whichever control has the focus.
    if (QWidget* widget = focus(window, control)) {
      QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : widget,
                      kKeys.at(key));
    }
  }

  void clickFolder(const std::string& window, const std::string& control, const std::string& path,
                   bool twice) override {
    auto* list = shownList(window, control);
    const int row = list ? list->rowOf(path) : -1;
    if (list && row < 0) ADD_FAILURE() << path << " is not shown in " << control;
    if (row < 0) return;
    // Scrolled into view, and clicked where a user would.
    const QModelIndex index = list->model()->index(row, 0);
    list->scrollTo(index);
    const QPoint at = list->visualRect(index).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    if (twice) QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
  }

  void pickDrive(const std::string& window, const std::string& control,
                 const std::string& root) override {
    auto* combo = find<QComboBox>(window, control);
    const int row = combo ? combo->findData(QString::fromStdString(root)) : -1;
    if (combo && row < 0) ADD_FAILURE() << root << " is not listed in " << control;
    if (row < 0 || !combo->window()->isEnabled()) return;
    combo->setCurrentIndex(row);
    emit combo->activated(row);
  }

  void close(const std::string& window) override {
    if (QWidget* top = findWindow(window)) top->close();
  }

  std::string drop(const std::string& window, const std::vector<std::string>& paths) override {
    QWidget* top = findWindow(window);
    if (!top) return {};
    QMimeData data;
    QList<QUrl> urls;
    for (const std::string& path : paths)
      urls << QUrl::fromLocalFile(QString::fromStdString(path));
    data.setUrls(urls);
    const QPoint centre = top->rect().center();
    // Shift held, as a file manager proposes a move.
    const Qt::DropActions offered = Qt::MoveAction | Qt::CopyAction | Qt::LinkAction;
    QDragEnterEvent enter(centre, offered, &data, Qt::LeftButton, Qt::ShiftModifier);
    QApplication::sendEvent(top, &enter);
    QDropEvent drop(centre, offered, &data, Qt::LeftButton, Qt::ShiftModifier);
    if (enter.isAccepted()) QApplication::sendEvent(top, &drop);
    if (!enter.isAccepted() || !drop.isAccepted()) return {};
    return drop.dropAction() == Qt::MoveAction   ? "move"
           : drop.dropAction() == Qt::LinkAction ? "link"
                                                 : "copy";
  }

  std::string text(const std::string& window, const std::string& control) override {
    QWidget* widget = find<QWidget>(window, control);
    if (auto* line = qobject_cast<QLineEdit*>(widget)) return line->text().toStdString();
    auto* box = qobject_cast<QPlainTextEdit*>(widget);
    return box ? box->toPlainText().toStdString() : "";
  }

  std::vector<std::string> rows(const std::string& window, const std::string& control) override {
    std::vector<std::string> paths;
    auto* list = shownList(window, control);
    for (int row = 0; list && row < list->model()->rowCount(); ++row)
      paths.push_back(list->pathOfRow(row));
    return paths;
  }

  ControlFacts facts(const std::string& window, const std::string& control) override {
    QApplication::processEvents();
    QWidget* widget = control.empty() ? findWindow(window) : find<QWidget>(window, control);
    if (!widget) return {};
    // Offscreen screens may report another DPI; scale to 96 so both toolkits compare alike.
    const double scale = 96.0 / QGuiApplication::primaryScreen()->logicalDotsPerInch();
    const auto at96 = [scale](int px) { return static_cast<int>(std::lround(px * scale)); };
    const QRect r = widget->geometry();
    ControlFacts facts{at96(r.x()), at96(r.y()), at96(r.width()), at96(r.height()),
                       widget->toolTip().toStdString()};
    facts.focused = widget->window()->focusWidget() == widget;
    facts.enabled = widget->isEnabled();
    facts.active = QApplication::activeWindow() == widget;
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
      for (int i = 0; i < combo->count(); ++i)
        facts.rows.push_back(combo->itemData(i).toString().toStdString());
      facts.choice = combo->currentData().toString().toStdString();
    }
    facts.textCut = textCut(*widget);
    facts.points = QFontInfo(widget->font()).pointSizeF();
    // Outlined: the current row's top edge is dotted, not the plain edge of a selection.
    if (auto* list = dynamic_cast<DirListWidget*>(widget); list && list->hasFocus()) {
      const QImage row = list->viewport()->grab(list->visualRect(list->currentIndex())).toImage();
      int changes = 0;
      for (int x = row.width() / 2; x < row.width() - 2; ++x)
        changes += row.pixel(x, 0) != row.pixel(x + 1, 0);
      facts.rowOutlined = changes > 8;
    }
    if (QAccessibleInterface* read = QAccessible::queryAccessibleInterface(widget)) {
      facts.accessibleName = read->text(QAccessible::Name).toStdString();
      // A list that shows a choice is named by the label that labels it.
      for (const auto& [label, relation] : read->relations(QAccessible::Label)) {
        facts.accessibleName = label->text(QAccessible::Name).toStdString();
        facts.label = label->object()->objectName().toStdString();
      }
      facts.role = QMetaEnum::fromType<QAccessible::Role>().valueToKey(read->role());
      if (read->state().modal) facts.role += " modal";
      for (int row = 0; dynamic_cast<DirListWidget*>(widget) && row < read->childCount(); ++row)
        facts.rows.push_back(read->child(row)->text(QAccessible::Name).toStdString());
    }
    return facts;
  }

  void setDesktopFont(int points) override {
    QFont font = QApplication::font();
    font.setPointSize(points);
    QApplication::setFont(font);
  }

 private:
  // Whether the control shows less of its text, or of a line of a box, than it does with room
  // to spare: the pixels the text changes on screen, with the control at its size and at three
  // times that, without the style's own reckoning of where text goes.
  static bool textCut(QWidget& widget) {
    auto* label = qobject_cast<QLabel*>(&widget);
    auto* button = qobject_cast<QPushButton*>(&widget);
    auto* line = qobject_cast<QLineEdit*>(&widget);
    auto* box = qobject_cast<QPlainTextEdit*>(&widget);
    auto* combo = qobject_cast<QComboBox*>(&widget);
    const QSignalBlocker quiet(widget);
    const auto show = [&](const QString& text) {
      if (label) label->setText(text);
      if (button) button->setText(text);
      if (line) line->setText(text);
      if (box) box->setPlainText(text);
      if (combo) combo->setItemText(combo->currentIndex(), text);
    };
    const QString kept = label    ? label->text()
                         : button ? button->text()
                         : line   ? line->text()
                         : box    ? box->toPlainText()
                         : combo  ? combo->currentText()
                                  : QString();
    // A box may hold any text: letters that reach above and below all others, and in the path
    // box a line long enough to bring its scroll bar; its room to spare is height alone.
    const QString sample = line  ? QStringLiteral("\u00c1gjpqy")
                           : box ? QStringLiteral("\u00c1gjpqy") + QString(300, u'x')
                                 : kept;
    const QSize size = widget.size();
    const QSize ample = line || box ? QSize(size.width(), size.height() * 3) : size * 3;
    const auto ink = [&](QSize room) {
      widget.resize(room);
      show(sample);
      const QImage with = widget.grab().toImage();
      show({});
      const QImage without = widget.grab().toImage();
      int changed = 0;
      for (int y = 0; y < with.height(); ++y)
        for (int x = 0; x < with.width(); ++x)
          changed += with.pixel(x, y) != without.pixel(x, y);
      return changed;
    };
    const int shown = sample.isEmpty() ? 0 : ink(size), whole = sample.isEmpty() ? 0 : ink(ample);
    show(kept);
    widget.resize(size);
    return shown * 50 < whole * 49;
  }

  bool onScreen(LiveWindow& window) override {
    const QWidget* widget = static_cast<QtWindow&>(window).widget();
    return widget && widget->isVisible();
  }

  QWidget* findWindow(const std::string& name) {
    LiveWindow* window = shownWindow(name);
    return window ? static_cast<QtWindow*>(window)->widget() : nullptr;
  }

  template <typename T>
  T* find(const std::string& window, const std::string& control) {
    QWidget* top = findWindow(window);
    auto* found =
        top ? dynamic_cast<T*>(top->findChild<QWidget*>(QString::fromStdString(control))) : nullptr;
    return top && !found ? noControl(window, control) : found;
  }

  // The list as the user sees it once the screen has caught up: the driver lists nothing itself.
  DirListWidget* shownList(const std::string& window, const std::string& control) {
    QCoreApplication::processEvents();
    return find<DirListWidget>(window, control);
  }

  QWidget* focus(const std::string& window, const std::string& control) {
    QWidget* widget = find<QWidget>(window, control);
    if (widget) widget->setFocus();
    return widget;
  }

  const QFont desktopFont_ = QApplication::font();
};

}  // namespace

std::unique_ptr<ScriptedUser> makeScriptedUser() {
  return std::make_unique<QtUser>();
}

}  // namespace qb::test

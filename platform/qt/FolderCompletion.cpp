#include "platform/qt/FolderCompletion.h"

#include "platform/catalogue.h"

#include <QDir>
#include <QEvent>
#include <QFutureWatcher>
#include <QKeyEvent>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>

namespace qb {

namespace {

constexpr qsizetype kShown = 100;  // no one reads further down a list of names
constexpr int kRowsSeen = 8;

// The names of a folder's subfolders, hidden ones left out and sorted ignoring letter case, as
// the list shows them.
QStringList subfolders(const QString& folder) {
  QStringList names = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted);
  std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) < 0;
  });
  return names;
}

// The folders offered for what has been typed. The list is a window of its own beside the
// picker, never over it: it takes no click meant for a control, takes no focus and no grab,
// and the box's text changes only when the user picks an entry, by key or by click.
class Offer : public QObject {
 public:
  explicit Offer(QPlainTextEdit* box)
      : QObject(box), box_(box), reading_(new QFutureWatcher<QStringList>(this)) {
    // A tool tip is the one kind of window that neither grabs the input (as a popup would) nor
    // takes the focus, and that every window system, Wayland too, lets the program place.
    list_ = new QListWidget(box);
    list_->setObjectName(QStringLiteral("folderCompletions"));
    list_->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint);
    list_->setAttribute(Qt::WA_ShowWithoutActivating);
    list_->setFocusPolicy(Qt::NoFocus);
    // A long path is cut at its start, so that its end, the part that differs, shows; there is no
    // scroll bar to cover the row.
    list_->setTextElideMode(Qt::ElideLeft);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setUniformItemSizes(true);
    list_->setMouseTracking(true);
    list_->setAccessibleName(QString::fromStdString(qb::tr("Folders that match")));
    connect(list_, &QListWidget::itemEntered, list_,
            [this](QListWidgetItem* item) { list_->setCurrentItem(item); });
    connect(list_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { pick(item->text()); });
    connect(box, &QPlainTextEdit::textChanged, this, &Offer::update);
    connect(reading_, &QFutureWatcher<QStringList>::finished, this, [this] {
      names_ = reading_->result();
      update();
    });
    box->installEventFilter(this);
    box->window()->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == box_->window()) {
      // The list belongs where the picker is: it goes when the picker moves or goes.
      const auto type = event->type();
      if (type == QEvent::Move || type == QEvent::Hide || type == QEvent::WindowDeactivate)
        list_->hide();
      return false;
    }
    if (event->type() == QEvent::FocusOut) list_->hide();
    if (event->type() != QEvent::KeyPress || !list_->isVisible()) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    const int row = list_->currentRow();
    switch (key) {
      case Qt::Key_Down:
        list_->setCurrentRow(std::min(row + 1, list_->count() - 1));
        return true;
      case Qt::Key_Up:
        list_->setCurrentRow(std::max(row - 1, 0));
        return true;
      case Qt::Key_Escape:
        list_->hide();
        return true;
      case Qt::Key_Return:
      case Qt::Key_Enter:
        if (row < 0) return false;
        pick(list_->item(row)->text());
        return true;
      default:
        return false;
    }
  }

 private:
  void update() {
    const QString typed = box_->toPlainText();
    const qsizetype cut = typed.lastIndexOf(QLatin1Char('/')) + 1;
    // Only what the user types asks for folders: not the list moving the text, nor a pick here.
    if (picking_ || box_->window()->focusWidget() != box_ || cut == 0 ||
        typed.contains(QLatin1Char('\n'))) {
      folder_.clear();
      list_->hide();
      return;
    }
    const QString folder = typed.left(cut);
    if (folder != folder_) {
      // Read away from the event loop, however big or slow the folder; this runs again after.
      folder_ = folder;
      names_.clear();
      reading_->setFuture(QtConcurrent::run(subfolders, folder));
      list_->hide();
      return;
    }
    // Matched ignoring letter case, as the program finds folders.
    const QString stem = typed.mid(cut);
    QStringList paths;
    for (const QString& name : names_) {
      if (paths.size() == kShown) break;
      if (name.startsWith(stem, Qt::CaseInsensitive)) paths << folder + name;
    }
    if (paths.isEmpty() || paths == QStringList{typed}) {
      list_->hide();
      return;
    }
    list_->clear();
    list_->addItems(paths);
    place();
  }

  // Just below the picker's frame, lined up with the box; above the picker where the screen
  // has no room below. As wide as the longest entry, within the screen.
  void place() {
    QWidget* window = box_->window();
    const QRect frame = window->frameGeometry();
    const QRect screen = window->screen()->availableGeometry();
    const QFontMetrics metrics(list_->font());
    int widest = 0;
    for (int row = 0; row < list_->count(); ++row)
      widest = std::max(widest, metrics.horizontalAdvance(list_->item(row)->text()));
    const int frameWidth = 2 * list_->frameWidth();
    const int width = std::clamp(widest + frameWidth + metrics.averageCharWidth() * 2 +
                                     list_->verticalScrollBar()->sizeHint().width(),
                                 box_->width(), screen.width());
    const int rowHeight = std::max(list_->sizeHintForRow(0), metrics.height());
    const int height = rowHeight * std::min<int>(kRowsSeen, list_->count()) + frameWidth;
    const int left = std::clamp(box_->mapToGlobal(QPoint()).x(), screen.left(),
                                std::max(screen.left(), screen.right() + 1 - width));
    int top = frame.bottom() + 1;
    if (top + height > screen.bottom() + 1) top = std::max(screen.top(), frame.top() - height);
    list_->setGeometry(left, top, width, height);
    list_->setCurrentRow(-1);  // nothing is picked until the user says so
    list_->show();
  }

  void pick(const QString& path) {
    picking_ = true;
    box_->setPlainText(path);
    box_->moveCursor(QTextCursor::End);
    picking_ = false;
    list_->hide();
  }

  QPlainTextEdit* box_;
  QListWidget* list_;
  QFutureWatcher<QStringList>* reading_;
  QString folder_;     // the folder being typed in
  QStringList names_;  // its subfolders, once read
  bool picking_ = false;
};

}  // namespace

void offerFolders(QPlainTextEdit* box) {
  new Offer(box);
}

}  // namespace qb

#include "platform/qt/DirListWidget.h"

#include <QAbstractListModel>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTimer>

#include "platform/qt/pictures.h"

namespace qb {

class DirListModel : public QAbstractListModel {
 public:
  DirListModel(const FolderRows& rows, QObject* parent) : QAbstractListModel(parent), rows_(rows) {}

  // Called around each reading of the rows.
  void beginReading() { beginResetModel(); }
  void endReading() { endResetModel(); }

  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(rows_.count());
  }

  QVariant data(const QModelIndex& index, int role) const override {
    const auto row = static_cast<std::size_t>(index.row());
    if (role == Qt::DisplayRole) return QString::fromStdString(rows_.name(row));
    if (role == Qt::DecorationRole) return listFolderIcon(rows_.isOpen(row));
    if (role == Qt::AccessibleTextRole) return QString::fromStdString(rows_.spoken(row));
    return {};
  }

  int depthAt(int row) const {
    return static_cast<int>(rows_.depth(static_cast<std::size_t>(row)));
  }

 private:
  const FolderRows& rows_;
};

namespace {

// Indents each row by its depth in the tree, as a folder list shows the path down to the folder.
class IndentDelegate : public QStyledItemDelegate {
 public:
  IndentDelegate(const DirListModel& model, QObject* parent)
      : QStyledItemDelegate(parent), model_(model) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyleOptionViewItem indented = option;
    indented.rect.adjust(indent(index), 0, 0, 0);
    QStyledItemDelegate::paint(painter, indented, index);
    // The row the keys act on is outlined while the list has the focus, as on Windows, so that
    // a user sees where the focus is and not only which row is selected.
    if (option.state & QStyle::State_HasFocus) {
      painter->save();
      const bool selected = option.state & QStyle::State_Selected;
      painter->setPen(
          QPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text), 1,
               Qt::DotLine));
      painter->drawRect(indented.rect.adjusted(0, 0, -1, -1));
      painter->restore();
    }
  }

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return QStyledItemDelegate::sizeHint(option, index) + QSize(indent(index), 0);
  }

 private:
  int indent(const QModelIndex& index) const { return 8 * model_.depthAt(index.row()); }
  const DirListModel& model_;
};

}  // namespace

DirListWidget::DirListWidget(QWidget* parent)
    : QListView(parent), model_(new DirListModel(rows_, this)) {
  setModel(model_);
  setItemDelegate(new IndentDelegate(*model_, this));
  setUniformItemSizes(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setIconSize(QSize(16, 16));
  connect(this, &QListView::doubleClicked, this, [this](const QModelIndex& i) { open(i.row()); });
}

DirListWidget::~DirListWidget() = default;

bool DirListWidget::setPath(const std::string& path) {
  if (!rows_.setPath(path)) return false;
  scheduleListing();
  return true;
}

void DirListWidget::reread() {
  rows_.markStale();
  scheduleListing();
}

void DirListWidget::scheduleListing() {
  if (scheduled_ || !isVisible()) return;
  scheduled_ = true;
  QTimer::singleShot(0, this, [this] { ensureListed(); });
}

void DirListWidget::ensureListed() {
  scheduled_ = false;
  // A list no longer shown (its window going) has nothing to read for.
  if (!rows_.stale() || !isVisible()) return;
  model_->beginReading();
  const std::optional<PlatformError> failure = rows_.read();
  model_->endReading();
  if (failure) onFailure(*failure);
  const QModelIndex current = model_->index(static_cast<int>(rows_.current()));
  setCurrentIndex(current);
  scrollTo(current);
}

int DirListWidget::rowOf(const std::string& path) const {
  return rows_.rowOf(path);
}

std::string DirListWidget::pathOfRow(int row) const {
  return rows_.pathOf(static_cast<std::size_t>(row));
}

void DirListWidget::open(int row) {
  if (row < 0 || row >= static_cast<int>(rows_.count())) return;
  // Opening may unload the window, which then leaves this list nothing to call.
  const auto handler = onOpen;
  handler(rows_.pathOf(static_cast<std::size_t>(row)));
}

void DirListWidget::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
      currentIndex().isValid()) {
    open(currentIndex().row());
    return;
  }
  QListView::keyPressEvent(event);
}

void DirListWidget::showEvent(QShowEvent* event) {
  ensureListed();
  QListView::showEvent(event);
}

}  // namespace qb

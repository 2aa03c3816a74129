#include "platform/qt/DirListWidget.h"

#include <QAbstractListModel>
#include <QKeyEvent>
#include <QStyledItemDelegate>
#include <QTimer>

#include "platform/files.h"
#include "platform/qt/pictures.h"

namespace qb {

class DirListModel : public QAbstractListModel {
 public:
  using QAbstractListModel::QAbstractListModel;

  void set(std::vector<std::string> ancestors, std::vector<std::string> names) {
    beginResetModel();
    ancestors_ = std::move(ancestors);
    names_ = std::move(names);
    endResetModel();
  }

  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(ancestors_.size() + names_.size());
  }

  QVariant data(const QModelIndex& index, int role) const override {
    const auto row = static_cast<std::size_t>(index.row());
    const bool ancestor = row < ancestors_.size();
    if (role == Qt::DisplayRole) return QString::fromStdString(nameAt(row));
    if (role == Qt::DecorationRole) return listFolderIcon(ancestor);
    return {};
  }

  int depthAt(int row) const {
    const auto r = static_cast<std::size_t>(row);
    return static_cast<int>(r < ancestors_.size() ? r : ancestors_.size());
  }

  std::string pathAt(int row) const {
    const auto r = static_cast<std::size_t>(row);
    if (r < ancestors_.size()) return ancestors_[r];
    const std::string& folder = ancestors_.back();
    const std::string& name = names_[r - ancestors_.size()];
    return folder.back() == files::kSeparator ? folder + name : folder + files::kSeparator + name;
  }

  int currentRow() const { return static_cast<int>(ancestors_.size()) - 1; }

 private:
  std::string nameAt(std::size_t row) const {
    if (row >= ancestors_.size()) return names_[row - ancestors_.size()];
    const std::string& path = ancestors_[row];
    if (row == 0) return path;  // the root keeps its full name
    return path.substr(path.rfind(files::kSeparator) + 1);
  }

  std::vector<std::string> ancestors_;
  std::vector<std::string> names_;
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
  }

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return QStyledItemDelegate::sizeHint(option, index) + QSize(indent(index), 0);
  }

 private:
  int indent(const QModelIndex& index) const { return 8 * model_.depthAt(index.row()); }
  const DirListModel& model_;
};

}  // namespace

DirListWidget::DirListWidget(QWidget* parent) : QListView(parent), model_(new DirListModel(this)) {
  setModel(model_);
  setItemDelegate(new IndentDelegate(*model_, this));
  setUniformItemSizes(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setIconSize(QSize(16, 16));
  connect(this, &QListView::doubleClicked, this, [this](const QModelIndex& i) { open(i.row()); });
  path_ = files::workingFolder();
}

DirListWidget::~DirListWidget() = default;

bool DirListWidget::setPath(const std::string& path) {
  const std::string folder = files::folderPath(path);
  if (folder == path_) return false;
  path_ = folder;
  scheduleListing();
  return true;
}

void DirListWidget::reread() {
  scheduleListing();
}

void DirListWidget::scheduleListing() {
  stale_ = true;
  if (scheduled_ || !isVisible()) return;
  scheduled_ = true;
  QTimer::singleShot(0, this, [this] { ensureListed(); });
}

void DirListWidget::ensureListed() {
  scheduled_ = false;
  if (!stale_) return;
  stale_ = false;
  std::vector<std::string> names;
  try {
    names = files::subfolders(path_);
  } catch (const PlatformError&) {
    // The folder was opened a moment ago; if it cannot be read now, it shows as empty.
  }
  model_->set(files::ancestors(path_), std::move(names));
  const QModelIndex current = model_->index(model_->currentRow());
  setCurrentIndex(current);
  scrollTo(current);
}

int DirListWidget::rowOf(const std::string& path) {
  ensureListed();
  for (int row = 0; row < model_->rowCount({}); ++row) {
    if (model_->pathAt(row) == path) return row;
  }
  return -1;
}

std::string DirListWidget::pathOfRow(int row) {
  ensureListed();
  return model_->pathAt(row);
}

void DirListWidget::open(int row) {
  if (row < 0 || row >= model_->rowCount({})) return;
  onOpen(model_->pathAt(row));
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

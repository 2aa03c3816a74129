#pragma once

#include <QListView>
#include <functional>
#include <string>
#include <vector>

namespace qb {

class DirListModel;

// A folder list as users know it: the folder's ancestors from the root as open folders, then
// its subfolders sorted ignoring case. A double click or Enter opens a folder; a single click
// only selects; arrow keys and typing move the selection.
class DirListWidget : public QListView {
 public:
  explicit DirListWidget(QWidget* parent);
  ~DirListWidget() override;

  // Called when the user opens the folder at the given path.
  std::function<void(const std::string&)> onOpen = [](const std::string&) {};

  const std::string& path() const { return path_; }
  // Moves to the folder at path; false when it is the folder shown already.
  bool setPath(const std::string& path);
  void reread();

  // The subfolders are read when the list is first needed, not at every change of path, so
  // that a handler that moves the list and then refreshes it reads a large folder once.
  void ensureListed();
  int rowOf(const std::string& path);
  // The folder that opening the row moves to.
  std::string pathOfRow(int row);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void scheduleListing();
  void open(int row);

  DirListModel* model_;
  std::string path_;
  bool stale_ = true;
  bool scheduled_ = false;
};

}  // namespace qb

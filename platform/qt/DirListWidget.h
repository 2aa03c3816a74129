#pragma once

#include <QListView>
#include <functional>
#include <string>

#include "platform/frontend/FolderRows.h"

namespace qb {

class DirListModel;

// A folder list as users know it, showing FolderRows: a double click or Enter opens a folder; a
// single click only selects; arrow keys and typing move the selection.
class DirListWidget : public QListView {
 public:
  explicit DirListWidget(QWidget* parent);
  ~DirListWidget() override;

  // Called when the user opens the folder at the given path.
  std::function<void(const std::string&)> onOpen = [](const std::string&) {};
  // Called when the folder shown could not be read.
  std::function<void(const PlatformError&)> onFailure = [](const PlatformError&) {};

  const std::string& path() const { return rows_.path(); }
  // Moves to the folder at path; false when it is the folder shown already.
  bool setPath(const std::string& path);
  void reread();

  // Reads the folder if it has not been read since it last changed.
  void ensureListed();
  // The row shown that opens path, or -1; the folder that opening a shown row moves to.
  int rowOf(const std::string& path) const;
  std::string pathOfRow(int row) const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void scheduleListing();
  void open(int row);

  FolderRows rows_;
  DirListModel* model_;
  bool scheduled_ = false;
};

}  // namespace qb

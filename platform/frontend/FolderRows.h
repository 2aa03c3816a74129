#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/error.h"

namespace qb {

// What a directory list shows, the same in every front end: the folders from the root down to
// the current one, then the current folder's subfolders sorted ignoring case. The subfolders
// are read when first needed, not at every change of path, so that a handler that moves the
// list and then refreshes it reads a large folder once.
class FolderRows {
 public:
  FolderRows();

  const std::string& path() const { return path_; }
  // Moves to the folder at path, to be read later; false when it is the folder shown already.
  // Throws PlatformError when path is not a folder that can be opened.
  bool setPath(const std::string& path);
  void markStale() { stale_ = true; }
  bool stale() const { return stale_; }
  // Reads the rows now. A folder that cannot be read any more shows no subfolders, and the reason
  // comes back, for the front end to show.
  std::optional<PlatformError> read();

  std::size_t count() const { return ancestors_.size() + names_.size(); }
  // The row of the current folder itself.
  std::size_t current() const { return ancestors_.empty() ? 0 : ancestors_.size() - 1; }
  // The root and the folders on the way down show open; the subfolders closed.
  bool isOpen(std::size_t row) const { return row < ancestors_.size(); }
  std::size_t depth(std::size_t row) const { return std::min(row, ancestors_.size()); }
  // What the row shows: a folder's own name, or the root's full path.
  std::string name(std::size_t row) const;
  // What a screen reader says for the row: what its indent and icon show as well, which rows
  // are the path down to the folder and how deep each row is.
  std::string spoken(std::size_t row) const;
  // The folder that opening the row moves to.
  std::string pathOf(std::size_t row) const;
  // The row that opens path, or -1.
  int rowOf(const std::string& path) const;

 private:
  std::string path_;
  std::vector<std::string> ancestors_;
  std::vector<std::string> names_;
  bool stale_ = true;
};

}  // namespace qb

#include "platform/frontend/FolderRows.h"

#include <algorithm>

#include "platform/catalogue.h"
#include "platform/files.h"

namespace qb {

// A new list starts in the working folder, as the toolkit's own lists do.
FolderRows::FolderRows() : path_(files::workingFolder()) {}

bool FolderRows::setPath(const std::string& path) {
  const std::string folder = files::folderPath(path);
  if (folder == path_) return false;
  path_ = folder;
  stale_ = true;
  return true;
}

std::optional<PlatformError> FolderRows::read() {
  stale_ = false;
  ancestors_ = files::ancestors(path_);
  names_.clear();
  try {
    names_ = files::subfolders(path_);
  } catch (const PlatformError& error) {
    return PlatformError(error.path(), tr("{1} Its folders could not be read, so none are shown.",
                                          {error.reason()}));
  }
  return std::nullopt;
}

std::string FolderRows::name(std::size_t row) const {
  if (row >= ancestors_.size()) return names_.at(row - ancestors_.size());
  const std::string& path = ancestors_[row];
  if (row == 0) return path;
  return path.substr(path.rfind(files::kSeparator) + 1);
}

std::string FolderRows::spoken(std::size_t row) const {
  const std::string level = std::to_string(depth(row) + 1);
  return isOpen(row) ? tr("{1}, open folder, level {2}", {name(row), level})
                     : tr("{1}, folder, level {2}", {name(row), level});
}

std::string FolderRows::pathOf(std::size_t row) const {
  if (row < ancestors_.size()) return ancestors_[row];
  return files::join(ancestors_.back(), names_.at(row - ancestors_.size()));
}

int FolderRows::rowOf(const std::string& path) const {
  for (std::size_t row = 0; row < count(); ++row) {
    if (pathOf(row) == path) return static_cast<int>(row);
  }
  return -1;
}

}  // namespace qb

#pragma once

#include <stdexcept>
#include <string>

namespace qb {

// A file-system, shell-link or toolkit operation that failed: the path it worked on and the
// operating system's own reason. Handlers let it pass; the front end's dispatch shows it.
class PlatformError : public std::runtime_error {
 public:
  PlatformError(std::string path, std::string reason)
      : std::runtime_error(path.empty() ? reason : path + "\n\n" + reason),
        path_(std::move(path)),
        reason_(std::move(reason)) {}

  const std::string& path() const { return path_; }
  const std::string& reason() const { return reason_; }

 private:
  std::string path_;
  std::string reason_;
};

}  // namespace qb

#pragma once

// What each system's file layer gives the shared rules of files.cpp: primitives only, and the
// messages both systems show. Nothing outside platform/ includes this.

#include <string>
#include <utility>

#include "platform/catalogue.h"
#include "platform/error.h"

namespace qb::files {

inline std::string danglingLink() {
  return tr("This is a link whose target is missing, not a folder.");
}
inline std::string linkLoop() {
  return tr("This is a link that leads round in a loop of links, never to a folder.");
}
inline std::string notAFolder() {
  return tr("This is not a folder.");
}
inline std::string noFolder() {
  return tr("No folder was given.");
}

namespace os {

// path split into its parent (trailing separators dropped, the root kept) and its last name.
std::pair<std::string, std::string> splitLast(const std::string& path);

// Why this system refuses name for a folder, beyond the rules every system shares; or empty.
std::string nameProblem(const std::string& name);

// Why the link at path leads nowhere (kDanglingLink, kLinkLoop), or empty text when path is no
// such link.
std::string brokenLink(const std::string& path);

// The system's own words for "something of that name is there already", about path.
PlatformError alreadyThere(const std::string& path);

// Makes the one folder at path, whose parent exists and where nothing is yet.
void createFolder(const std::string& path);

}  // namespace os
}  // namespace qb::files

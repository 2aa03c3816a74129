#pragma once

// The platform's shell-link layer, one implementation per OS: what differs between them, the
// naming rules and the making of the link itself. MkLink holds every rule they share.

#include <string>

#include "platform/error.h"

namespace qb::shell {

// The file a shortcut called name is.
std::string fileName(const std::string& name);

// Why this system refuses name as a shortcut's name, or empty text.
std::string nameProblem(const std::string& name);

// Why a shortcut here cannot lead to destination, a folder as it is on disk, or empty text.
std::string targetProblem(const std::string& destination);

// Makes at link, a full path, a shortcut that opens destination with arguments. It never
// replaces anything that is there, even something that appeared a moment ago; it throws
// PlatformError, leaving nothing of its own behind, when it made no shortcut.
void makeLink(const std::string& link, const std::string& destination,
              const std::string& arguments);

// Where the shortcut at link leads, as a path the file system follows; empty text when it cannot
// be read.
std::string target(const std::string& link);

// Takes away the shortcut at link that makeLink made: empty text once it is gone, or the reason
// it is still there.
std::string removeLink(const std::string& link);

}  // namespace qb::shell

// On POSIX systems a shortcut is a symbolic link: file managers, file dialogs and shells all
// follow it to the folder it names.

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/catalogue.h"
#include "platform/faults.h"
#include "platform/files.h"
#include "shortcut/ShellLink.h"

namespace qb::shell {

std::string fileName(const std::string& name) {
  return name;
}

std::string nameProblem(const std::string& name) {
  if (name == "." || name == ".." || files::hasControlCharacter(name) ||
      name.find('/') != std::string::npos) {
    return tr(
        "A shortcut's name may not be \".\" or \"..\", nor hold a \"/\", a line break or "
        "another control character.");
  }
  return {};
}

std::string targetProblem(const std::string& /*destination*/) {
  return {};
}

void makeLink(const std::string& link, const std::string& destination,
              const std::string& arguments) {
  if (!arguments.empty()) {
    throw PlatformError(link, tr("A shortcut here cannot pass arguments to what it opens."));
  }
  // symlink never replaces what is there.
  if (faults::failed(faults::Call::Link, link) || symlink(destination.c_str(), link.c_str()) != 0) {
    const int error = errno;
    if (error == EEXIST) {
      throw PlatformError(link, tr("Something of that name is there already. It was left as it "
                                   "is, and no shortcut was made."));
    }
    throw PlatformError(link, std::string(std::strerror(error)) + ".");
  }
}

std::string target(const std::string& link) {
  // The system follows the link itself; another machine may read it as leading to its folder.
  if (faults::failed(faults::Call::ReadLink, link)) return link.substr(0, link.rfind('/') + 1);
  return link;
}

std::string removeLink(const std::string& link) {
  if (!faults::failed(faults::Call::Remove, link) &&
      (unlink(link.c_str()) == 0 || errno == ENOENT)) {
    return {};
  }
  return std::string(std::strerror(errno)) + ".";
}

}  // namespace qb::shell

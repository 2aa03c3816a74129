#include "shortcut/MakeLink.h"

#include "shortcut/ShellLink.h"

namespace qb {

void MkLink(const std::string& folder, const std::string& name, const std::string& target,
            const std::string& arguments) {
  const std::string reserved = std::to_string(0);
  createShellLink(folder, name, target, arguments, 0, reserved);
}

}  // namespace qb

#pragma once

// The platform's shell-link layer, one implementation per OS. It takes the six values of the
// setup kit's shell-link call in their order, and either makes the shortcut or throws
// PlatformError saying why not. It never replaces anything that is already there.

#include <cstdint>
#include <string>

#include "platform/error.h"

namespace qb {

// Makes, in folder, a shortcut called name that opens target with arguments. showCommand and
// reserved are kept for the call's shape; no platform here reads them.
void createShellLink(const std::string& folder, const std::string& name, const std::string& target,
                     const std::string& arguments, std::int32_t showCommand,
                     const std::string& reserved);

}  // namespace qb

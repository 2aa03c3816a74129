#pragma once

#include <string>

namespace qb {

// The module MakeLink: has the shell make a shortcut called name in folder, opening target with
// arguments. Throws PlatformError, with the path it tried and the reason, when none was made.
void MkLink(const std::string& folder, const std::string& name, const std::string& target,
            const std::string& arguments);

}  // namespace qb

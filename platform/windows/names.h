#pragma once

// The names Windows refuses or silently changes, as a pure rule of the text, tested on every
// platform.

#include <string>

namespace qb::windows {

// The characters no Windows name may hold besides the control characters.
inline constexpr char kForbidden[] = "<>:\"/\\|?*";

// The reason for refusing the character c, one of kForbidden.
std::string forbiddenCharacter(char c);

// Why Windows would refuse or silently change name (reserved device names, a trailing dot or
// space, a character of kForbidden, a control character), or empty text when it takes it as it
// is.
std::string nameProblem(const std::string& name);

}  // namespace qb::windows

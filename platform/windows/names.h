#pragma once

// The names Windows refuses or silently changes, as a pure rule of the text, tested on every
// platform.

#include <string>
#include <string_view>
#include <utility>

namespace qb::windows {

// The characters no Windows name may hold besides the control characters.
inline constexpr char kForbidden[] = "<>:\"/\\|?*";

// The reason for refusing the character c, one of kForbidden.
std::string forbiddenCharacter(char c);

// Why Windows would refuse or silently change name (reserved device names, a trailing dot or
// space, a character of kForbidden, a control character), or empty text when it takes it as it
// is.
std::string nameProblem(const std::string& name);

// The first folder of an absolute path whose name ends in a dot or a space (which Windows would
// drop, leading elsewhere), as the path up to it, and why; both empty when there is none.
std::pair<std::string, std::string> pathProblem(const std::string& path);

// Added to the system's "Access is denied.": Windows' ransomware protection refuses programs it
// does not know that way, in the folders it guards by default and in any a user adds.
std::string guardedFolderNote();

// Whether the UTF-16 units pair every surrogate: only such a name turns into text and back
// unchanged, so only such a name can be shown and typed.
template <typename Unit>
bool isValidUtf16(std::basic_string_view<Unit> units) {
  for (std::size_t i = 0; i < units.size(); ++i) {
    const auto u = static_cast<unsigned long>(units[i]);
    if (u >= 0xDC00 && u <= 0xDFFF) return false;
    if (u >= 0xD800 && u <= 0xDBFF) {
      if (i + 1 == units.size()) return false;
      const auto next = static_cast<unsigned long>(units[i + 1]);
      if (next < 0xDC00 || next > 0xDFFF) return false;
      ++i;
    }
  }
  return true;
}

}  // namespace qb::windows

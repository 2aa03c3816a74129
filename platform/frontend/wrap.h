#pragma once

// Message boxes show what the core says as it is, but no wider and no taller than the screen
// allows: a long path has no spaces to wrap at, so the lines are broken here before a box
// shows them, and a path too long for the screen is shown shortened in its middle.

#include <functional>
#include <string>
#include <string_view>

namespace qb {

// Breaks each line of text that measure finds wider than width: at spaces, after a path's
// separators, and anywhere inside a piece that is too wide on its own line. Lines that fit are
// left as they are.
std::string wrapToWidth(std::string_view text, int width,
                        const std::function<int(std::string_view)>& measure);

// As wrapToWidth; when that gives more than maxLines lines, the longest words (paths, as a
// rule) are shortened in their middle, "\u2026" standing for what is left out, until it does
// not. The first and last letters of every word stay, so the reason after a path is seen.
std::string fitToBox(std::string_view text, int width, int maxLines,
                     const std::function<int(std::string_view)>& measure);

}  // namespace qb

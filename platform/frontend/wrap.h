#pragma once

// Message boxes show what the core says as it is, but no wider than the screen allows: a long
// path has no spaces to wrap at, so the lines are broken here before a box shows them.

#include <functional>
#include <string>
#include <string_view>

namespace qb {

// Breaks each line of text that measure finds wider than width: at spaces, after a path's
// separators, and anywhere inside a piece that is too wide on its own line. Lines that fit are
// left as they are.
std::string wrapToWidth(std::string_view text, int width,
                        const std::function<int(std::string_view)>& measure);

}  // namespace qb

#pragma once

// Text as the POSIX file layer compares and checks names: UTF-8 case folding and validity.

#include <string>

namespace qb::files::posix {

// The name as compared ignoring case: each character upper-cased on its own, as Windows
// compares names. Bytes that are not valid UTF-8 are kept as they are.
std::string fold(const std::string& name);

// Whether text is UTF-8 that converts to UTF-16 and back unchanged: no stray bytes, no overlong
// forms, no surrogates.
bool isUtf8(const std::string& text);

}  // namespace qb::files::posix

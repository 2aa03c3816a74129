#pragma once

// UTF-8 text in the core, UTF-16 at every Windows call, and the system's own words for an error.

#include <string>

#include "platform/error.h"

namespace qb::windows {

std::wstring wide(const std::string& text);
std::string utf8(const std::wstring& text);

// The system's own words for the error code, about path; in writing there, a refusal comes with
// a word on the protection Windows may keep folders under, which refuses writes alone.
PlatformError systemError(const std::string& path, unsigned long code, bool writing = false);

}  // namespace qb::windows

#pragma once

// Text as the controls hold it. The conversion between the core's UTF-8 and UTF-16 is
// platform/windows/text.h.

#include <windows.h>

#include <string>

#include "platform/windows/text.h"

namespace qb::win32 {

// Edit controls keep line breaks as \r\n; the core sees \n.
std::wstring withCrLf(const std::wstring& text);
std::wstring withoutCr(const std::wstring& text);

std::wstring windowText(HWND window);

}  // namespace qb::win32

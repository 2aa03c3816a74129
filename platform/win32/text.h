#pragma once

// UTF-8 text in the core, UTF-16 at the Win32 edge.

#include <windows.h>

#include <string>

namespace qb::win32 {

std::wstring wide(const std::string& text);
std::string utf8(const std::wstring& text);

// Edit controls keep line breaks as \r\n; the core sees \n.
std::wstring withCrLf(const std::wstring& text);
std::wstring withoutCr(const std::wstring& text);

std::wstring windowText(HWND window);

}  // namespace qb::win32

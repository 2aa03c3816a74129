#pragma once

#include <windows.h>

namespace qb::win32 {

// Sent to a list whose rows keep no text: wParam is a row, lParam a std::wstring* that receives
// what a screen reader says for it. Returns TRUE when there is such a row.
constexpr UINT kSpokenRow = WM_APP + 2;

// The answer to WM_GETOBJECT for such a list: the system's own object for a list box, with each
// row named as kSpokenRow gives it. The system's list object names no row of a list that keeps
// no text, so a reader would say "list item" and never the folder. 0 (the system's answer) for
// other objects, or when the accessibility library cannot be loaded.
LRESULT accessibleList(HWND list, WPARAM flags, LPARAM objectId);

}  // namespace qb::win32

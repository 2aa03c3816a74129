#include "platform/win32/Controls.h"

#include <commctrl.h>
#include <objbase.h>

#include "platform/win32/text.h"
#include "platform/windows/com.h"
#include "platform/windows/library.h"

namespace qb::win32 {

namespace {

DWORD styleOf(const ControlSpec& spec) {
  DWORD style = WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
  if (spec.flags & kMultiLine) style |= ES_MULTILINE | ES_WANTRETURN | WS_HSCROLL | ES_AUTOVSCROLL;
  if (spec.flags & kReadOnly) style |= ES_READONLY;
  return style;
}

// Tab leaves a multi-line box, as in the other boxes, instead of going into its text. Esc does
// nothing there: the edit control would otherwise close the window it sits in.
LRESULT CALLBACK dialogKeys(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                            DWORD_PTR /*data*/) {
  if (message == WM_GETDLGCODE) {
    LRESULT code = DefSubclassProc(hwnd, message, wParam, lParam);
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_TAB) {
      code &= ~(DLGC_WANTALLKEYS | DLGC_WANTTAB);
    }
    return code;
  }
  if ((message == WM_KEYDOWN || message == WM_CHAR) && wParam == VK_ESCAPE) return 0;
  if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, dialogKeys, 1);
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

// Folder name completion is a COM object of the shell. Both are brought in only when the path
// box is first made, so that nothing of them stands between the start and step 1's window.
void offerFolders(HWND box) {
  using AutoComplete = HRESULT(WINAPI*)(HWND, DWORD);
  static const AutoComplete autoComplete = []() -> AutoComplete {
    const windows::Com* com = windows::com();
    if (!com || FAILED(com->initialize(nullptr, COINIT_APARTMENTTHREADED))) return nullptr;
    return windows::systemFunction<AutoComplete>(L"shlwapi.dll", "SHAutoComplete");
  }();
  constexpr DWORD kFileSystemFolders = 0x00000020;  // SHACF_FILESYS_DIRS
  if (autoComplete) autoComplete(box, kFileSystemFolders);
}

}  // namespace

TextBox::TextBox(HWND parent, int id, const ControlSpec& spec)
    : ChildControl(parent, id, spec, L"EDIT", styleOf(spec), WS_EX_CLIENTEDGE) {
  if (spec.flags & kMultiLine) SetWindowSubclass(hwnd_, dialogKeys, 1, 0);
  if (spec.flags & kPath) keepLeftToRight();
  // The box a user types a path into offers the folders that path leads to.
  if ((spec.flags & kMultiLine) && !(spec.flags & kReadOnly)) offerFolders(hwnd_);
}

}  // namespace qb::win32

#include <windows.h>

#include <commctrl.h>

#include <cmath>

#include "platform/win32/Controls.h"
#include "platform/win32/text.h"
#include "resources/resource_ids.h"

namespace qb::win32 {

namespace {

int iconOf(Picture picture) {
  switch (picture) {
    case Picture::Done:
      return IDI_DONE;
    case Picture::NewFolder:
      return IDI_NEWFOLDER;
    case Picture::Desktop:
      return IDI_DESKTOP;
    case Picture::MyDocuments:
      return IDI_MYDOCUMENTS;
    case Picture::None:
      break;
  }
  return 0;
}

// No button is the default one, not even the focused one: Enter presses none. The dialog keys
// would otherwise make a button the default as the focus reaches it.
LRESULT CALLBACK neverDefault(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                              UINT_PTR /*id*/, DWORD_PTR /*data*/) {
  if (message == WM_GETDLGCODE) {
    return DefSubclassProc(hwnd, message, wParam, lParam) &
           ~static_cast<LRESULT>(DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON);
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, neverDefault, 1);
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace

PushButton::PushButton(HWND parent, int id, const ControlSpec& spec)
    : ChildControl(parent, id, spec, L"BUTTON",
                   WS_TABSTOP | BS_PUSHBUTTON | (spec.picture != Picture::None ? BS_ICON : 0)) {
  // A picture button draws no text: its window text is there for screen readers only.
  SetWindowTextW(hwnd_, windows::wide(accessibleNameOf(spec)).c_str());
  SetWindowSubclass(hwnd_, neverDefault, 1, 0);
  if (spec.picture != Picture::None) keepLeftToRight();
}

void PushButton::place(const RECT& rect, UINT dpi, HFONT font) {
  ChildControl::place(rect, dpi, font);
  if (spec_.picture == Picture::None) return;
  // A 32-pixel picture in a 45-pixel button at 96 DPI, as large in the button at any DPI and
  // text size, drawn afresh for that size.
  const int size = static_cast<int>(std::lround((rect.bottom - rect.top) * 32.0 / 45.0));
  OwnedIcon picture = loadIcon(iconOf(spec_.picture), size);
  SendMessageW(hwnd_, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(picture.get()));
  picture_ = std::move(picture);
}

}  // namespace qb::win32

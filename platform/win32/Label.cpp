#include "platform/win32/Controls.h"

#include <algorithm>

#include "platform/win32/text.h"

namespace qb::win32 {

Label::Label(HWND parent, int id, const ControlSpec& spec)
    : ChildControl(parent, id, spec, L"STATIC", SS_LEFT | SS_NOPREFIX) {
  SetWindowTextW(hwnd_, windows::wide(spec.caption).c_str());
}

void Label::place(const RECT& rect, UINT dpi, HFONT font) {
  RECT sized = rect;
  if (spec_.flags & kAutoSize) {
    // As wide and as tall as its caption in this font.
    const std::wstring caption = windowText(hwnd_);
    HDC dc = GetDC(hwnd_);
    HGDIOBJ old = SelectObject(dc, font);
    RECT measured{0, 0, 0, 0};
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &measured,
              DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(hwnd_, dc);
    sized.right = sized.left + measured.right;
    sized.bottom = sized.top + std::max(rect.bottom - rect.top, measured.bottom);
  }
  ChildControl::place(sized, dpi, font);
  // Under every other control, so that where a table lets a label overlap a box, the box's
  // border shows. Labels take no focus, so the tab order does not change.
  SetWindowPos(hwnd_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace qb::win32

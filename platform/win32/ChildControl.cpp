#include "platform/win32/ChildControl.h"

#include "platform/catalogue.h"
#include "platform/win32/text.h"

namespace qb::win32 {

ChildControl::ChildControl(HWND parent, int id, const ControlSpec& spec, const wchar_t* className,
                           DWORD style, DWORD exStyle)
    : hwnd_(CreateWindowExW(exStyle, className, nullptr,
                            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, 0, 0, 0, 0, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            GetModuleHandleW(nullptr), nullptr)),
      spec_(spec) {
  if (!hwnd_) throw PlatformError(spec.name, tr("The control could not be made."));
}

void ChildControl::place(const RECT& rect, UINT /*dpi*/, HFONT font) {
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SetWindowPos(hwnd_, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void ChildControl::keepLeftToRight() {
  const LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_EXSTYLE);
  if (style & WS_EX_LAYOUTRTL) SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, style & ~WS_EX_LAYOUTRTL);
}

std::string ChildControl::text() const {
  return windows::utf8(withoutCr(windowText(hwnd_)));
}

void ChildControl::setText(const std::string& text) {
  SetWindowTextW(hwnd_, withCrLf(windows::wide(text)).c_str());
}

}  // namespace qb::win32

#include <algorithm>
#include <cmath>

#include "platform/catalogue.h"
#include "platform/win32/Win32Toolkit.h"
#include "platform/win32/dpi.h"
#include "platform/win32/text.h"

namespace qb::win32 {

namespace {

constexpr wchar_t kClass[] = L"QuenbrookInputBox";

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

struct Box {
  std::wstring prompt;
  HWND label = nullptr, edit = nullptr, ok = nullptr, cancel = nullptr;
  OwnedFont font;
  UINT dpi = 0;  // laid out for
  bool done = false;
  bool accepted = false;
};

void move(HWND control, const RECT& at, HFONT font) {
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SetWindowPos(control, nullptr, at.left, at.top, at.right - at.left, at.bottom - at.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

// Laid out like a small dialog at dpi and the user's text size: the prompt, the line under it,
// the buttons at the bottom, each as large as its text needs. Returns the size of the window's
// frame; only measures when apply is false.
SIZE layOut(HWND window, Box& box, UINT dpi, bool apply) {
  const double text = textScale();
  const auto px = [dpi, text](int at96) {
    return static_cast<int>(std::lround(at96 * text * dpi / 96));
  };
  OwnedFont font = messageFont(dpi);
  const int margin = px(11), gap = px(7);
  const SIZE ok = textSize(window, font.get(), windowText(box.ok));
  const SIZE cancel = textSize(window, font.get(), windowText(box.cancel));
  const int buttonWidth = std::max<int>(px(75), std::max(ok.cx, cancel.cx) + scaled(16, dpi));
  const int buttonHeight = std::max<int>(px(23), std::max(ok.cy, cancel.cy) + scaled(10, dpi));
  const int width = std::max(px(360), 2 * margin + 2 * buttonWidth + gap);
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, font.get());
  RECT measured{0, 0, width - 2 * margin, 0};
  DrawTextW(dc, box.prompt.c_str(), static_cast<int>(box.prompt.size()), &measured,
            DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  const int promptHeight = measured.bottom;
  const int editTop = margin + promptHeight + gap;
  const int editHeight = lineHeight(window, font.get()) + scaled(8, dpi);
  const int buttonTop = editTop + editHeight + margin;
  const int height = buttonTop + buttonHeight + margin;
  if (!apply) return frameSize(width, height, kStyle, kExStyle, dpi);
  const int cancelLeft = width - margin - buttonWidth;
  const int okLeft = cancelLeft - gap - buttonWidth;
  move(box.label, {margin, margin, width - margin, margin + promptHeight}, font.get());
  move(box.edit, {margin, editTop, width - margin, editTop + editHeight}, font.get());
  move(box.ok, {okLeft, buttonTop, okLeft + buttonWidth, buttonTop + buttonHeight}, font.get());
  move(box.cancel, {cancelLeft, buttonTop, cancelLeft + buttonWidth, buttonTop + buttonHeight},
       font.get());
  // The old font goes only once no control uses it.
  box.font = std::move(font);
  box.dpi = dpi;
  return frameSize(width, height, kStyle, kExStyle, dpi);
}

LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    SetWindowLongPtrW(
        hwnd, GWLP_USERDATA,
        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  }
  auto* box = reinterpret_cast<Box*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (box) {
    switch (message) {
      case WM_COMMAND:
        // Enter comes as IDOK and Esc as IDCANCEL, from the dialog keys.
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
          box->accepted = LOWORD(wParam) == IDOK;
          box->done = true;
        }
        return 0;
      case WM_CLOSE:
        box->done = true;
        return 0;
      case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && box->edit) SetFocus(box->edit);
        return 0;
      case WM_GETDPISCALEDSIZE:
        *reinterpret_cast<SIZE*>(lParam) = layOut(hwnd, *box, static_cast<UINT>(wParam), false);
        return TRUE;
      case WM_DPICHANGED: {
        if (HIWORD(wParam) == box->dpi) return 0;
        // Laid out again for the monitor it moved to, where and as large as Windows suggests.
        layOut(hwnd, *box, HIWORD(wParam), true);
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(hwnd, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
      }
      default:
        break;
    }
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND child(HWND parent, const wchar_t* className, const std::wstring& text, DWORD style,
           DWORD exStyle, int id) {
  return CreateWindowExW(exStyle, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0,
                         0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

std::string runInputBox(HWND owner, const std::string& prompt, const std::string& title,
                        const std::function<void(const std::function<bool()>& done)>& loop) {
  static const ATOM registered = registerDialogClass(kClass, procedure);
  (void)registered;

  const RECT area = centringArea(owner);
  const UINT dpi = dpiOfMonitor(MonitorFromRect(&area, MONITOR_DEFAULTTONEAREST));
  Box box;
  box.prompt = windows::wide(prompt);
  // Mirrored, as Windows mirrors its own boxes, where the language is written from right to left.
  const DWORD exStyle = kExStyle | (rightToLeft() ? WS_EX_LAYOUTRTL : 0);
  HWND window = CreateWindowExW(exStyle, kClass, windows::wide(title).c_str(), kStyle, 0, 0, 0, 0,
                                owner, nullptr, GetModuleHandleW(nullptr), &box);
  if (!window) return {};
  box.label = child(window, L"STATIC", box.prompt, SS_LEFT | SS_NOPREFIX, 0, -1);
  box.edit = child(window, L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 100);
  box.ok =
      child(window, L"BUTTON", windows::wide(tr("OK")), WS_TABSTOP | BS_DEFPUSHBUTTON, 0, IDOK);
  box.cancel = child(window, L"BUTTON", windows::wide(tr("Cancel")), WS_TABSTOP | BS_PUSHBUTTON, 0,
                     IDCANCEL);
  const SIZE frame = layOut(window, box, dpi, true);
  SetWindowPos(window, nullptr, area.left + (area.right - area.left - frame.cx) / 2,
               area.top + (area.bottom - area.top - frame.cy) / 2, frame.cx, frame.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);

  // The other windows wait, disabled by the toolkit; the owner is the box's to disable, as a
  // message box does, and takes input again before the box goes, so that Windows activates it
  // then rather than another program.
  const bool ownerWasEnabled = owner && !EnableWindow(owner, FALSE);
  ShowWindow(window, SW_SHOW);
  SetFocus(box.edit);
  loop([&box] { return box.done; });
  const std::wstring typed = box.accepted ? windowText(box.edit) : std::wstring();
  if (ownerWasEnabled) EnableWindow(owner, TRUE);
  DestroyWindow(window);
  return windows::utf8(typed);
}

}  // namespace qb::win32

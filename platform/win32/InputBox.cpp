#include <algorithm>

#include "platform/win32/Win32Toolkit.h"
#include "platform/win32/dpi.h"
#include "platform/win32/text.h"

namespace qb::win32 {

namespace {

constexpr wchar_t kClass[] = L"QuenbrookInputBox";

struct Box {
  HWND edit = nullptr;
  bool done = false;
  bool accepted = false;
};

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
      default:
        break;
    }
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND child(HWND parent, const wchar_t* className, const std::wstring& text, DWORD style,
           DWORD exStyle, int id, const RECT& at, HFONT font) {
  HWND made = CreateWindowExW(exStyle, className, text.c_str(), WS_CHILD | WS_VISIBLE | style,
                              at.left, at.top, at.right - at.left, at.bottom - at.top, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              GetModuleHandleW(nullptr), nullptr);
  SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return made;
}

}  // namespace

std::string runInputBox(HWND owner, const std::string& prompt, const std::string& title,
                        const std::function<void(const std::function<bool()>& done)>& loop) {
  static const ATOM registered = registerDialogClass(kClass, procedure);
  (void)registered;

  const RECT area = centringArea(owner);
  const UINT dpi = dpiOfMonitor(MonitorFromRect(&area, MONITOR_DEFAULTTONEAREST));
  const auto px = [dpi](int at96) { return scaled(at96, dpi); };

  Box box;
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  HWND window = CreateWindowExW(exStyle, kClass, windows::wide(title).c_str(), style, 0, 0, 0, 0,
                                owner, nullptr, GetModuleHandleW(nullptr), &box);
  if (!window) return {};
  OwnedFont font = messageFont(dpi);

  // Laid out like a small dialog: the prompt, the line under it, the buttons at the bottom.
  const int width = px(360), margin = px(11), gap = px(7);
  const int buttonWidth = px(75), buttonHeight = px(23);
  const std::wstring promptText = windows::wide(prompt);
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, font.get());
  RECT measured{0, 0, width - 2 * margin, 0};
  DrawTextW(dc, promptText.c_str(), static_cast<int>(promptText.size()), &measured,
            DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  const int promptHeight = measured.bottom;
  const int editTop = margin + promptHeight + gap;
  const int editHeight = lineHeight(window, font.get()) + px(8);
  const int buttonTop = editTop + editHeight + margin;
  const int height = buttonTop + buttonHeight + margin;

  child(window, L"STATIC", promptText, SS_LEFT | SS_NOPREFIX, 0, -1,
        {margin, margin, width - margin, margin + promptHeight}, font.get());
  box.edit = child(window, L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 100,
                   {margin, editTop, width - margin, editTop + editHeight}, font.get());
  const int cancelLeft = width - margin - buttonWidth;
  const int okLeft = cancelLeft - gap - buttonWidth;
  child(window, L"BUTTON", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 0, IDOK,
        {okLeft, buttonTop, okLeft + buttonWidth, buttonTop + buttonHeight}, font.get());
  child(window, L"BUTTON", L"Cancel", WS_TABSTOP | BS_PUSHBUTTON, 0, IDCANCEL,
        {cancelLeft, buttonTop, cancelLeft + buttonWidth, buttonTop + buttonHeight}, font.get());

  const SIZE frame = frameSize(width, height, style, exStyle, dpi);
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

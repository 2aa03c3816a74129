// The yardstick for start-up under Windows: the least a Win32 program does to show step 1's
// window. The same caption and client size, centred on the screen, and a message loop; no
// controls, no resources, no common controls.
//
// Built a second time with QB_BARE_CONTROLS as bare_controls.exe: the same window with step 1's
// two buttons and text box, themed through the common controls manifest, in the message font.
// It tells how much of the program's start-up any window with those controls would take.

#include <windows.h>

#ifdef QB_BARE_CONTROLS
#include <commctrl.h>
#endif

#include "bench/win32/first_paint.h"

namespace {

constexpr wchar_t kCaption[] = L"Step 1 - Select or create a project folder";
constexpr wchar_t kClass[] = L"BareWindow";
// Step 1's client area, 4680 x 1065 twips, at 96 DPI.
constexpr int kClientWidth = 312, kClientHeight = 71;

LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

#ifdef QB_BARE_CONTROLS
// Step 1's controls at their places, in pixels at 96 DPI; returns the first.
HWND addControls(HWND window) {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&controls);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  const HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
  struct Child {
    const wchar_t* className;
    const wchar_t* text;
    DWORD style, exStyle;
    int left, top, width, height;
  };
  const Child children[] = {
      {L"BUTTON", L"Browse", BS_PUSHBUTTON, 0, 228, 28, 77, 17},
      {L"EDIT", L"", ES_LEFT | ES_AUTOHSCROLL | ES_READONLY, WS_EX_CLIENTEDGE, 8, 8, 297, 19},
      {L"BUTTON", L"Cancel", BS_PUSHBUTTON, 0, 228, 48, 77, 17},
  };
  int id = 100;
  HWND first = nullptr;
  for (const Child& c : children) {
    HWND child = CreateWindowExW(
        c.exStyle, c.className, c.text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | c.style, c.left, c.top,
        c.width, c.height, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)),
        GetModuleHandleW(nullptr), nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (!first) first = child;
  }
  return first;
}
#endif

}  // namespace

int main() {
  qb::bench::win32::FirstPaintProbe probe(kCaption);
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClass;
  if (!RegisterClassW(&windowClass)) return 1;

  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  const DWORD exStyle = WS_EX_DLGMODALFRAME;
  RECT frame{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  HWND window = CreateWindowExW(exStyle, kClass, kCaption, style, x, y, width, height, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!window) return 1;
#ifdef QB_BARE_CONTROLS
  HWND first = addControls(window);
  ShowWindow(window, SW_SHOW);
  SetFocus(first);
#else
  ShowWindow(window, SW_SHOW);
#endif
  qb::bench::win32::FirstPaintProbe::mark("started");

  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

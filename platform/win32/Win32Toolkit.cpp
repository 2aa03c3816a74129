#include "platform/win32/Win32Toolkit.h"

#include <algorithm>

#include <commctrl.h>

#include "platform/catalogue.h"
#include "platform/frontend/wrap.h"
#include "platform/win32/Win32Window.h"
#include "platform/win32/dpi.h"
#include "platform/win32/text.h"
#include "platform/windows/library.h"

namespace qb {

namespace win32 {

namespace {

constexpr wchar_t kMessengerClass[] = L"QuenbrookMessenger";
constexpr UINT kRunPosted = WM_APP + 1;

}  // namespace

Win32Toolkit::Win32Toolkit() {
  becomeDpiAware();
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
  InitCommonControlsEx(&controls);
  static const ATOM registered = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = messengerProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kMessengerClass;
    return RegisterClassExW(&windowClass);
  }();
  (void)registered;
  // A window, not the thread's queue: a posted task must survive the loops of system boxes.
  messenger_ = CreateWindowExW(0, kMessengerClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(messenger_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32Toolkit::~Win32Toolkit() {
  DestroyWindow(messenger_);
}

LRESULT CALLBACK Win32Toolkit::messengerProcedure(HWND hwnd, UINT message, WPARAM wParam,
                                                  LPARAM lParam) {
  auto* self = reinterpret_cast<Win32Toolkit*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == kRunPosted && self && !self->posted_.empty()) {
    auto task = std::move(self->posted_.front());
    self->posted_.pop_front();
    task();
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void Win32Toolkit::post(std::function<void()> task) {
  posted_.push_back(std::move(task));
  PostMessageW(messenger_, kRunPosted, 0, 0);
}

std::unique_ptr<LiveWindow> Win32Toolkit::makeWindow(const WindowSpec& spec) {
  return std::make_unique<Win32Window>(spec);
}

void Win32Toolkit::pump(MSG& message) {
  // Tab, Shift+Tab and the arrow keys move between controls as in a dialog. No control is a
  // default button, so Enter and Esc press none.
  const HWND active = GetActiveWindow();
  if (active && IsDialogMessageW(active, &message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

int Win32Toolkit::run() {
  if (quit_) return 0;
  running_ = true;
  int code = 0;
  MSG message{};
  for (;;) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      code = static_cast<int>(message.wParam);
      break;
    }
    if (got == -1) break;
    pump(message);
  }
  running_ = false;
  return code;
}

void Win32Toolkit::runUntil(const std::function<bool()>& done) {
  MSG message{};
  while (!done() && !quit_) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      // The main loop's to take.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (got == -1) return;
    pump(message);
  }
}

void Win32Toolkit::quit() {
  quit_ = true;
  // Outside the main loop, a posted quit would only end the next loop that runs, at once.
  if (running_) PostQuitMessage(0);
}

namespace {

HWND hwndOf(LiveWindow* owner) {
  return owner ? static_cast<Win32Window*>(owner)->hwnd() : nullptr;
}

// A message box wraps only at spaces, and a long path has none: broken here, in the box's own
// font, the path keeps the box (and the reason at its end) within the monitor. The box wraps
// again what is wider than its own limit, near 57 average letters of its font under wine, which
// would break the lines broken here once more; so they are kept within 48.
std::string withinScreen(const std::string& prompt, HWND owner) {
  const HMONITOR monitor = MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY);
  MONITORINFO area{};
  area.cbSize = sizeof(area);
  if (!GetMonitorInfoW(monitor, &area)) return prompt;
  const OwnedFont font = messageFont(dpiOfMonitor(monitor));
  const HDC dc = GetDC(nullptr);
  const HGDIOBJ was = SelectObject(dc, font.get());
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  const int width = std::min<int>((area.rcWork.right - area.rcWork.left) / 2,
                                  48 * std::max<int>(metrics.tmAveCharWidth, 1));
  // Two thirds of the height for the text leave room for the title, the buttons and margins.
  const int lines =
      std::max<int>(4, (area.rcWork.bottom - area.rcWork.top) * 2 / 3 /
                           std::max<int>(metrics.tmHeight + metrics.tmExternalLeading, 1));
  const std::string shown = fitToBox(prompt, width, lines, [dc](std::string_view text) {
    const std::wstring units = windows::wide(std::string(text));
    SIZE size{};
    GetTextExtentPoint32W(dc, units.c_str(), static_cast<int>(units.size()), &size);
    return static_cast<int>(size.cx);
  });
  SelectObject(dc, was);
  ReleaseDC(nullptr, dc);
  return shown;
}

}  // namespace

int Win32Toolkit::showMessageBox(LiveWindow* owner, const std::string& prompt, int flags,
                                 const std::string& title) {
  const int pressed =
      MessageBoxW(hwndOf(owner), windows::wide(withinScreen(prompt, hwndOf(owner))).c_str(),
                  windows::wide(title).c_str(),
                  static_cast<UINT>(flags) | (rightToLeft() ? MB_RTLREADING | MB_RIGHT : 0));
  if ((flags & kButtonsMask) == kYesNo) return pressed == IDYES ? kYes : kNo;
  return kOk;
}

std::string Win32Toolkit::showInputBox(LiveWindow* owner, const std::string& prompt,
                                       const std::string& title) {
  return runInputBox(hwndOf(owner), prompt, title,
                     [this](const std::function<bool()>& done) { runUntil(done); });
}

}  // namespace win32

std::unique_ptr<Toolkit> makeNativeToolkit(int& /*argc*/, char** /*argv*/) {
  windows::loadLibrariesFromSystemOnly();
  return std::make_unique<win32::Win32Toolkit>();
}

}  // namespace qb

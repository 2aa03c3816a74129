#include "platform/win32/Win32Toolkit.h"

#include <commctrl.h>

#include "platform/win32/Win32Window.h"
#include "platform/win32/dpi.h"
#include "platform/win32/text.h"

namespace qb {

namespace win32 {

Win32Toolkit::Win32Toolkit() {
  becomeDpiAware();
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
  InitCommonControlsEx(&controls);
}

std::unique_ptr<LiveWindow> Win32Toolkit::createWindow(const WindowSpec& spec,
                                                       WindowEvents& events) {
  return std::make_unique<Win32Window>(*this, spec, events);
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
  while (!done()) {
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

int Win32Toolkit::messageBox(const std::string& prompt, int flags, const std::string& title) {
  if (answerMessage_) return answerMessage_(prompt, flags, title);
  const HWND owner = activeOwner();
  UINT type = static_cast<UINT>(flags);
  // Without an owner, every window of the program waits for the answer.
  if (!owner) type |= MB_TASKMODAL;
  const int pressed = MessageBoxW(owner, wide(prompt).c_str(), wide(title).c_str(), type);
  if ((flags & 7) == kYesNo) return pressed == IDYES ? kYes : kNo;
  return kOk;
}

std::string Win32Toolkit::inputBox(const std::string& prompt, const std::string& title) {
  if (answerInput_) return answerInput_(prompt, title);
  return runInputBox(activeOwner(), prompt, title);
}

void Win32Toolkit::answerBoxesWith(MessageAnswer message, InputAnswer input) {
  answerMessage_ = std::move(message);
  answerInput_ = std::move(input);
}

HWND activeOwner() {
  const HWND active = GetActiveWindow();
  return active && IsWindowEnabled(active) ? active : nullptr;
}

}  // namespace win32

std::unique_ptr<Toolkit> makeNativeToolkit(int& /*argc*/, char** /*argv*/) {
  // A drive without a disk is reported by the program, not by a system box.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  return std::make_unique<win32::Win32Toolkit>();
}

}  // namespace qb

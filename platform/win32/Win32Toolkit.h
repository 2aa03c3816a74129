#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "platform/ui.h"

namespace qb::win32 {

class Win32Window;

// The native Win32 front end: wide functions, a message loop of its own, and dialog-style
// keyboard navigation in every window.
class Win32Toolkit : public Toolkit {
 public:
  Win32Toolkit();
  Win32Toolkit(const Win32Toolkit&) = delete;
  Win32Toolkit& operator=(const Win32Toolkit&) = delete;

  std::unique_ptr<LiveWindow> createWindow(const WindowSpec& spec, WindowEvents& events) override;
  int run() override;
  void runUntil(const std::function<bool()>& done) override;
  void quit() override;
  int messageBox(const std::string& prompt, int flags, const std::string& title) override;
  std::string inputBox(const std::string& prompt, const std::string& title) override;

  // Tests answer message and input boxes from a script instead of showing them.
  using MessageAnswer = std::function<int(const std::string&, int, const std::string&)>;
  using InputAnswer = std::function<std::string(const std::string&, const std::string&)>;
  void answerBoxesWith(MessageAnswer message, InputAnswer input);

  // Called whenever a window has been shown, with its name; tests act on it from here.
  std::function<void(const std::string&)> onShown = [](const std::string&) {};

  // Every live window, the oldest first.
  const std::vector<Win32Window*>& windows() const { return windows_; }

 private:
  friend class Win32Window;
  void pump(MSG& message);

  std::vector<Win32Window*> windows_;
  MessageAnswer answerMessage_;
  InputAnswer answerInput_;
  bool quit_ = false;
  bool running_ = false;
};

// The window a message or input box belongs to: the active window, while it takes input.
HWND activeOwner();

// A small modal box of our own: the prompt, one line to type in, OK and Cancel. Returns the text
// typed, or empty text when cancelled.
std::string runInputBox(HWND owner, const std::string& prompt, const std::string& title);

}  // namespace qb::win32

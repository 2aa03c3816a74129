#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <vector>

#include "platform/toolkit.h"

namespace qb::win32 {

class Win32Window;

// The native Win32 front end: wide functions, a message loop of its own, and dialog-style
// keyboard navigation in every window.
class Win32Toolkit : public Toolkit {
 public:
  Win32Toolkit();
  Win32Toolkit(const Win32Toolkit&) = delete;
  Win32Toolkit& operator=(const Win32Toolkit&) = delete;

  ~Win32Toolkit() override;

  int run() override;
  void runUntil(const std::function<bool()>& done) override;
  void quit() override;
  void post(std::function<void()> task) override;

 protected:
  std::unique_ptr<LiveWindow> makeWindow(const WindowSpec& spec) override;
  int showMessageBox(LiveWindow* owner, const std::string& prompt, int flags,
                     const std::string& title) override;
  std::string showInputBox(LiveWindow* owner, const std::string& prompt,
                           const std::string& title) override;

 private:
  static LRESULT CALLBACK messengerProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void pump(MSG& message);

  HWND messenger_ = nullptr;  // receives what post() queues, in whatever loop runs
  std::deque<std::function<void()>> posted_;
  bool quit_ = false;
  bool running_ = false;
};

// A small box of our own: the prompt, one line to type in, OK and Cancel. The caller's loop runs
// it until done() holds. Returns the text typed, or empty text when cancelled.
std::string runInputBox(HWND owner, const std::string& prompt, const std::string& title,
                        const std::function<void(const std::function<bool()>& done)>& loop);

}  // namespace qb::win32

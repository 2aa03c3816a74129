#pragma once

#include <functional>

#include "platform/ui.h"

namespace qb {

// The Qt 6 Widgets front end. Expects a QApplication to exist for as long as it does.
class QtToolkit : public Toolkit {
 public:
  QtToolkit();

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

 private:
  MessageAnswer answerMessage_;
  InputAnswer answerInput_;
  bool quit_ = false;
  bool running_ = false;
};

}  // namespace qb

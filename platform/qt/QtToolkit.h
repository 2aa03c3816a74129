#pragma once

#include <QObject>
#include <functional>
#include <memory>

#include "platform/toolkit.h"

namespace qb {

// The Qt 6 Widgets front end. Expects a QApplication to exist for as long as it does.
class QtToolkit : public Toolkit {
 public:
  QtToolkit();

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
  QObject posted_;  // what post() queues goes with the toolkit
  std::unique_ptr<QObject> fixedSize_;
  bool quit_ = false;
  bool running_ = false;
};

}  // namespace qb

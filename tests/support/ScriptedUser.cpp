#include "tests/support/ScriptedUser.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace qb::test {

std::nullptr_t ScriptedUser::notOpen(const std::string& window) {
  ADD_FAILURE() << window << " is not open";
  return nullptr;
}

std::nullptr_t ScriptedUser::noControl(const std::string& window, const std::string& control) {
  ADD_FAILURE() << window << " has no such control: " << control;
  return nullptr;
}

void ScriptedUser::shown(const std::string& window, bool modal) {
  auto& queue = scripts_[window];
  // A window that is not modal needs no script; the others wait under a modal one until it
  // closes, so its script must close it.
  if (!modal && queue.empty()) return;
  std::function<void()> script = [] {};
  if (!queue.empty()) script = std::move(queue.front()), queue.pop_front();
  toolkit_->post([this, window, modal, script = std::move(script)] {
    script();
    if (!modal || !isOpen(window)) return;
    ADD_FAILURE() << window << " was left open by its script";
    close(window);
    // One that will not close ends the program, so that the story fails rather than hangs.
    if (isOpen(window)) toolkit_->quit();
  });
}

int ScriptedUser::answerMessage(const std::string& prompt, int flags, const std::string& title) {
  asked_.push_back({prompt, flags, title});
  const bool question = (flags & kButtonsMask) == kYesNo;
  if (messageAnswers_.empty() && question) ADD_FAILURE() << "Unexpected question: " << prompt;
  if (messageAnswers_.empty()) return question ? kNo : kOk;
  const int answer = messageAnswers_.front();
  messageAnswers_.pop_front();
  return answer;
}

std::string ScriptedUser::answerInput(const std::string& prompt, const std::string& title) {
  asked_.push_back({prompt, -1, title});
  if (inputAnswers_.empty()) ADD_FAILURE() << "Unexpected input box: " << prompt;
  if (inputAnswers_.empty()) return {};
  std::string answer = std::move(inputAnswers_.front());
  inputAnswers_.pop_front();
  return answer;
}

int runLoop(ScriptedUser& user, const std::function<bool(Toolkit&)>& script) {
  int argc = 1;
  char name[] = "quenbrook";
  char* argv[] = {name, nullptr};
  std::unique_ptr<Toolkit> toolkit = makeNativeToolkit(argc, argv);
  if (!toolkit) {
    ADD_FAILURE() << "No toolkit";
    return -1;
  }
  Watchdog watchdog;
  toolkit->post([&] {
    user.attach(*toolkit);
    const bool ended = script(*toolkit);
    user.detach();
    watchdog.arm();
    if (ended) return;
    ADD_FAILURE() << "The program was left running after the script";
    toolkit->quit();
  });
  return toolkit->run();
}

void Watchdog::arm() {
  thread_ = std::thread([ended = done_.get_future()] {
    if (ended.wait_for(std::chrono::minutes(1)) == std::future_status::ready) return;
    std::fputs("The main loop did not return after the program ended.\n", stderr);
    std::_Exit(1);
  });
}

Watchdog::~Watchdog() {
  done_.set_value();
  if (thread_.joinable()) thread_.join();
}

}  // namespace qb::test

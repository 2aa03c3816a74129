#include "tests/support/ScriptedUser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <mutex>
#include <thread>

namespace qb::test {

LiveWindow* ScriptedUser::shownWindow(const std::string& name, bool required) {
  for (LiveWindow* window : toolkit().windows())
    if (!stopped_ && window->name() == name && onScreen(*window)) return window;
  if (required && !stopped_) ADD_FAILURE() << name << " is not open";
  return nullptr;
}

bool ScriptedUser::anyWindowShown() {
  const auto& all = toolkit().windows();
  return std::any_of(all.begin(), all.end(),
                     [this](LiveWindow* window) { return onScreen(*window); });
}

std::nullptr_t ScriptedUser::noControl(const std::string& window, const std::string& control) {
  ADD_FAILURE() << window << " has no such control: " << control;
  return nullptr;
}

void ScriptedUser::shown(const std::string& window, bool modal) {
  note(std::string(modal ? "shown modally: " : "shown: ") + window);
  auto& queue = scripts_[window];
  // A window that is not modal needs no script; the others wait under a modal one until it
  // closes, so its script must close it.
  if (!modal && queue.empty()) return;
  std::function<void()> script = [] {};
  if (!queue.empty()) script = std::move(queue.front()), queue.pop_front();
  toolkit_->post([this, window, modal, script = std::move(script)] {
    script();
    if (!modal || stopped_ || !isOpen(window)) return;
    ADD_FAILURE() << window << " was left open by its script";
    close(window);
    // One that will not close ends the program, so that the story fails rather than hangs.
    if (isOpen(window)) toolkit_->quit();
  });
}

int ScriptedUser::answerMessage(const std::string& prompt, int flags, const std::string& title) {
  asked_.push_back({prompt, flags, title});
  note("message \"" + title + "\": " + prompt);
  if (whenAsked_) std::exchange(whenAsked_, nullptr)();
  if (stop_ && !stopped_ && title == "Oops!") {
    stopped_ = true;
    toolkit_->post(stop_);
  }
  const bool question = (flags & kButtonsMask) == kYesNo;
  if (messageAnswers_.empty() && question) ADD_FAILURE() << "Unexpected question: " << prompt;
  if (messageAnswers_.empty()) return question ? kNo : kOk;
  const int answer = messageAnswers_.front();
  messageAnswers_.pop_front();
  return answer;
}

std::string ScriptedUser::answerInput(const std::string& prompt, const std::string& title) {
  asked_.push_back({prompt, -1, title});
  note("input box \"" + title + "\": " + prompt);
  if (inputAnswers_.empty()) ADD_FAILURE() << "Unexpected input box: " << prompt;
  if (inputAnswers_.empty()) return {};
  std::string answer = std::move(inputAnswers_.front());
  inputAnswers_.pop_front();
  return answer;
}

int runLoop(ScriptedUser& user, const std::function<bool(Toolkit&)>& script) {
  Arguments arguments;
  std::unique_ptr<Toolkit> toolkit = makeNativeToolkit(arguments.argc, arguments.argv);
  if (!toolkit) {
    ADD_FAILURE() << "No toolkit";
    return -1;
  }
  toolkit->post([&] {
    user.attach(*toolkit);
    const bool ended = script(*toolkit);
    user.detach();
    if (ended) return;
    ADD_FAILURE() << "The program was left running after the script";
    toolkit->quit();
  });
  return toolkit->run();
}

namespace {

std::mutex stepsLock;
std::vector<std::string> steps;  // of the running test

class TimeLimit : public ::testing::EmptyTestEventListener {
 public:
  explicit TimeLimit(std::chrono::seconds limit) : limit_(limit) {}

  void OnTestStart(const ::testing::TestInfo& test) override {
    {
      const std::lock_guard<std::mutex> lock(stepsLock);
      steps.clear();
    }
    finished_ = std::promise<void>();
    const std::string name = std::string(test.test_suite_name()) + "." + test.name();
    watch_ = std::thread([this, name, ended = finished_.get_future()] {
      if (ended.wait_for(limit_) == std::future_status::ready) return;
      const std::lock_guard<std::mutex> lock(stepsLock);
      std::fprintf(stderr, "%s did not finish within %lld s. What it did until then:\n",
                   name.c_str(), static_cast<long long>(limit_.count()));
      for (const std::string& step : steps)
        std::fprintf(stderr, "  %s\n", step.c_str());
      std::fflush(stderr);
      std::_Exit(1);
    });
  }

  void OnTestEnd(const ::testing::TestInfo&) override {
    finished_.set_value();
    watch_.join();
  }

 private:
  std::chrono::seconds limit_;
  std::promise<void> finished_;
  std::thread watch_;
};

}  // namespace

void note(const std::string& step) {
  const std::lock_guard<std::mutex> lock(stepsLock);
  steps.push_back(step);
}

void limitEachTest(std::chrono::seconds limit) {
  ::testing::UnitTest::GetInstance()->listeners().Append(new TimeLimit(limit));
}

}  // namespace qb::test

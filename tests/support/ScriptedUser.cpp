#include "tests/support/ScriptedUser.h"

#include <gtest/gtest.h>

namespace qb::test {

void ScriptedUser::whenOpens(const std::string& window, std::function<void()> script) {
  scripts_[window].push_back(std::move(script));
}

void ScriptedUser::answerNextMessage(int button) {
  messageAnswers_.push_back(button);
}

void ScriptedUser::answerNextInput(const std::string& text) {
  inputAnswers_.push_back(text);
}

std::function<void()> ScriptedUser::takeScript(const std::string& window) {
  auto& queue = scripts_[window];
  if (queue.empty()) return [] {};
  auto script = std::move(queue.front());
  queue.pop_front();
  return script;
}

bool ScriptedUser::hasScript(const std::string& window) const {
  const auto found = scripts_.find(window);
  return found != scripts_.end() && !found->second.empty();
}

int ScriptedUser::answerMessage(const std::string& prompt, int flags, const std::string& title) {
  asked_.push_back({prompt, flags, title});
  if (!messageAnswers_.empty()) {
    const int answer = messageAnswers_.front();
    messageAnswers_.pop_front();
    return answer;
  }
  if ((flags & 7) == kYesNo) {
    ADD_FAILURE() << "Unexpected question: " << prompt;
    return kNo;
  }
  return kOk;
}

std::string ScriptedUser::answerInput(const std::string& prompt, const std::string& title) {
  asked_.push_back({prompt, -1, title});
  if (inputAnswers_.empty()) {
    ADD_FAILURE() << "Unexpected input box: " << prompt;
    return {};
  }
  std::string answer = inputAnswers_.front();
  inputAnswers_.pop_front();
  return answer;
}

}  // namespace qb::test

#pragma once

// What a user does, told once and played on every toolkit: act on a control of an open window
// by its name, say what to do when a window opens, and answer message and input boxes while
// what they asked is recorded.

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui.h"

namespace qb::test {

// What a message or input box asked.
struct Asked {
  std::string prompt;
  int flags = 0;  // -1 for an input box
  std::string title;
};

// What a control looks like on screen, in pixels at 96 dots per inch.
struct ControlFacts {
  int x = 0, y = 0, width = 0, height = 0;
  std::string tooltip;
  bool readOnly = false;
  bool multiLine = false;
  bool focused = false;
};

class ScriptedUser {
 public:
  virtual ~ScriptedUser() = default;

  virtual Toolkit& toolkit() = 0;

  virtual void click(const std::string& window, const std::string& control) = 0;
  // Replaces the text of a box as a user does: select all, then type.
  virtual void type(const std::string& window, const std::string& control,
                    const std::string& text) = 0;
  // Opens a folder shown in a directory list, by its full path.
  virtual void openFolder(const std::string& window, const std::string& control,
                          const std::string& path) = 0;
  virtual void pickDrive(const std::string& window, const std::string& control,
                         const std::string& root) = 0;
  // The close box of the window's frame.
  virtual void close(const std::string& window) = 0;

  virtual bool isOpen(const std::string& window) = 0;
  virtual std::string text(const std::string& window, const std::string& control) = 0;
  // The full paths of the rows of a directory list, top to bottom.
  virtual std::vector<std::string> rows(const std::string& window, const std::string& control) = 0;
  virtual std::vector<std::string> drives(const std::string& window,
                                          const std::string& control) = 0;
  virtual std::string selectedDrive(const std::string& window, const std::string& control) = 0;
  virtual ControlFacts facts(const std::string& window, const std::string& control) = 0;
  virtual std::string caption(const std::string& window) = 0;
  virtual bool enabled(const std::string& window) = 0;

  // What to do the next time the window opens. A modal window must be closed by its script.
  void whenOpens(const std::string& window, std::function<void()> script);
  void answerNextMessage(int button);
  void answerNextInput(const std::string& text);
  const std::vector<Asked>& asked() const { return asked_; }
  void forgetAsked() { asked_.clear(); }

 protected:
  // The script for a window that has just opened, or an empty one if none was given.
  std::function<void()> takeScript(const std::string& window);
  bool hasScript(const std::string& window) const;
  int answerMessage(const std::string& prompt, int flags, const std::string& title);
  std::string answerInput(const std::string& prompt, const std::string& title);

 private:
  std::map<std::string, std::deque<std::function<void()>>> scripts_;
  std::deque<int> messageAnswers_;
  std::deque<std::string> inputAnswers_;
  std::vector<Asked> asked_;
};

// Provided by each toolkit's test driver.
std::unique_ptr<ScriptedUser> makeScriptedUser();

}  // namespace qb::test

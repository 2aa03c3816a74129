#pragma once

// What a user does, told once and played on every toolkit: act on a control of an open window
// by its name, say what to do when a window opens, and answer message and input boxes while
// what they asked is recorded. Scripts run from inside the toolkit's own loops, as a user's
// clicks would.

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/toolkit.h"

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
  std::string tooltip = {};
  bool focused = false;
  // What a screen reader calls it, read through the platform's accessibility interface.
  std::string accessibleName = {};
  // Its text, or a line of it in a box, is cut off by the control's edges.
  bool textCut = false;
  // Also as a screen reader has them: its role ("Window", "Dialog"; " modal" while the other
  // windows wait for it), the control that labels it, and a folder list's rows.
  std::string role = {};
  std::string label = {};
  std::vector<std::string> rows = {};  // of a drive list: its drives' roots, as listed
  std::string choice = {};             // the drive a drive list has selected
  // A window takes input (it waits under no modal one); it has the keyboard from the system.
  bool enabled = false, active = false;
  // A list with the focus outlines the row the keys act on.
  bool rowOutlined = false;
  // The size of its font, in points.
  double points = 0;
};

// Keys a user presses on a control.
enum class Key { Up, Down, Enter, Escape, Tab, Space };

class ScriptedUser : private StandIn {
 public:
  virtual ~ScriptedUser() = default;

  // Takes the toolkit's boxes and windows from here on, until detach.
  void attach(Toolkit& toolkit) { (toolkit_ = &toolkit)->standInWith(this); }
  void detach() {
    if (toolkit_) std::exchange(toolkit_, nullptr)->standInWith(nullptr);
  }
  Toolkit& toolkit() { return *toolkit_; }

  // The user's actions. Once the user has stopped, they find no window and do nothing.
  virtual void click(const std::string& window, const std::string& control) = 0;
  // Replaces the text of a box as a user does: select all, then type.
  virtual void type(const std::string& window, const std::string& control,
                    const std::string& text) = 0;
  // Types characters into a control without clearing it first (type-ahead in a list).
  virtual void keys(const std::string& window, const std::string& control,
                    const std::string& text) = 0;
  virtual void press(const std::string& window, const std::string& control, Key key) = 0;
  // Clicks on a folder shown in a directory list, by its full path: once selects it, a double
  // click opens it.
  virtual void clickFolder(const std::string& window, const std::string& control,
                           const std::string& path, bool twice) = 0;
  void openFolder(const std::string& window, const std::string& control, const std::string& path) {
    clickFolder(window, control, path, true);
  }
  virtual void pickDrive(const std::string& window, const std::string& control,
                         const std::string& root) = 0;
  // The close box of the window's frame.
  virtual void close(const std::string& window) = 0;
  // Drops items from a file manager on the window, by their full paths, offering to move, copy
  // or link them as a file manager does. Returns what the window took them as ("move", "copy"
  // or "link"), or empty text when it refused them.
  virtual std::string drop(const std::string& window, const std::vector<std::string>& paths) = 0;
  // From here on, a failure shown ends the program at once, and the user does nothing more, as
  // someone who reads it and stops; end is how the program is ended.
  void stopAtFailure(std::function<void()> end) {
    stop_ = std::move(end);
    stopped_ = false;
  }

  bool isOpen(const std::string& window) { return shownWindow(window, false); }
  // Whether any window of the program is on the screen.
  bool anyWindowShown();
  virtual std::string text(const std::string& window, const std::string& control) = 0;
  // The full paths of the rows of a directory list, top to bottom.
  virtual std::vector<std::string> rows(const std::string& window, const std::string& control) = 0;
  // Of a control, or of the window itself when control is empty, once the screen has caught up.
  virtual ControlFacts facts(const std::string& window, const std::string& control) = 0;
  bool enabled(const std::string& window) { return facts(window, "").enabled; }
  // The desktop's text size, in points, for the windows opened from here on; a toolkit whose
  // test cannot change the desktop's setting keeps it.
  virtual void setDesktopFont(int /*points*/) {}
  // Moves the window to a monitor of that many dots per inch, as the system tells a window it
  // has; whether the window took the rectangle the system suggested there. A toolkit whose test
  // cannot move it keeps it where it is.
  virtual bool moveToScale(const std::string& /*window*/, int /*dpi*/) { return true; }

  // What to do the next time the window opens. A modal window must be closed by its script.
  void whenOpens(const std::string& window, std::function<void()> script) {
    scripts_[window].push_back(std::move(script));
  }
  void answerNextMessage(int button) { messageAnswers_.push_back(button); }
  // What to do the next time a box asks, before it is answered.
  void whenAsked(std::function<void()> script) { whenAsked_ = std::move(script); }
  void answerNextInput(const std::string& text) { inputAnswers_.push_back(text); }
  const std::vector<Asked>& asked() const { return asked_; }
  void forgetAsked() { asked_.clear(); }
  // Forgets every script and answer not used yet, and what was asked: a new run starts afresh.
  void startOver() {
    scripts_.clear();
    messageAnswers_.clear();
    inputAnswers_.clear();
    asked_.clear();
  }

 protected:
  // The window of that name on the screen; none (and a failure, when required) where it is not
  // open, and none at all once the user has stopped.
  LiveWindow* shownWindow(const std::string& name, bool required = true);
  virtual bool onScreen(LiveWindow& window) = 0;
  // Records that a driver found no such control, and gives it nothing to act on.
  std::nullptr_t noControl(const std::string& window, const std::string& control);

 private:
  int answerMessage(const std::string& prompt, int flags, const std::string& title) override;
  std::string answerInput(const std::string& prompt, const std::string& title) override;
  void shown(const std::string& window, bool modal) override;

  Toolkit* toolkit_ = nullptr;
  std::function<void()> stop_;
  bool stopped_ = false;
  std::map<std::string, std::deque<std::function<void()>>> scripts_;
  std::function<void()> whenAsked_;
  std::deque<int> messageAnswers_;
  std::deque<std::string> inputAnswers_;
  std::vector<Asked> asked_;
};

// An "Oops!" message that names path and says why: in reason's words when given, otherwise in
// the operating system's, after a blank line. A message that is only a reason names no path.
inline void expectOops(const Asked& asked, const std::string& path, const char* reason = nullptr) {
  EXPECT_EQ(asked.title, "Oops!");
  EXPECT_EQ(asked.flags, 0);
  const auto named = asked.prompt.find(path);
  EXPECT_FALSE(path.empty() || named == std::string::npos) << asked.prompt;
  if (reason) {
    EXPECT_TRUE(*reason) << "a reason to look for";
    EXPECT_NE(asked.prompt.find(reason), std::string::npos) << asked.prompt;
  } else {
    const auto why = asked.prompt.find("\n\n", named);
    EXPECT_TRUE(why != std::string::npos && why + 2 < asked.prompt.size()) << asked.prompt;
  }
}

// Provided by each toolkit's test driver.
std::unique_ptr<ScriptedUser> makeScriptedUser();

// The program's arguments as the tests start it: its name alone.
struct Arguments {
  int argc = 1;
  char name[10] = "quenbrook";
  char* argv[2] = {name, nullptr};
};

// Makes the native toolkit as the program does and runs its main loop, with script called from
// inside it. The script says whether it ended its program; one that did not is a failure, and
// the loop is ended for it. Returns the main loop's status.
int runLoop(ScriptedUser& user, const std::function<bool(Toolkit&)>& script);

// Ends the test run should a test not finish within limit, saying which test it was and what the
// program showed and asked until then, so that a hang fails at once with its story told.
void limitEachTest(std::chrono::seconds limit);

// Notes a step of the running test, told if the test runs out of time.
void note(const std::string& step);

}  // namespace qb::test

#pragma once

// The front-end contract: what a toolkit (Qt, Win32) must provide, who calls each function,
// and what it must guarantee. The rules every front end shares are kept here, once, by the
// core: modality, the boxes' test stand-in, and the one place events reach the forms.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/window_spec.h"

namespace qb {

class Toolkit;

// Thrown by Ui::end to leave every handler at once; Toolkit::dispatch swallows it.
struct ProgramEnded {};

// How a live window reports what the user did. Called by the front end, and only from inside
// Toolkit::dispatch, so that a failure in the handler is shown and goes no further. A front
// end reports nothing from a window that is disabled.
class WindowEvents {
 public:
  // A button was pressed (mouse, Space, or an accessibility action).
  virtual void clicked(int control) = 0;
  // A directory list opened a folder (after its path has moved); a drive list's user picked
  // another drive than the one selected.
  virtual void changed(int control) = 0;
  // The close box, Alt+F4, or the system closing the window. The window stays until the form
  // unloads it.
  virtual void closeRequested() = 0;
  // Items dragged from a file manager were dropped on a window whose description takes drops:
  // their full paths, as many as were dropped, whatever they are. The form decides what they
  // mean.
  virtual void dropped(const std::vector<std::string>& paths) = 0;

 protected:
  ~WindowEvents() = default;
};

// One window as the front end shows it; controls are addressed by their index in the
// description's table. Made by Toolkit::createWindow when a form loads and destroyed when it
// unloads; destroying it takes the window off the screen at once.
class LiveWindow {
 public:
  virtual ~LiveWindow();

  // Called once by the core after load: shows the window, centred on the owner (or on the
  // screen) as its description says, and gives the focus to the first control that takes it.
  virtual void show(LiveWindow* owner) = 0;
  // Called only by the core's modality rule. A disabled window takes no mouse, no keys and no
  // close from its frame, and reports no event; enabling it again makes it the active window
  // when no other window of the program is.
  virtual void setEnabled(bool enabled) = 0;

  virtual std::string text(int control) const = 0;
  virtual void setText(int control, const std::string& text) = 0;
  virtual void repaint(int control) = 0;  // paints at once, not at the next idle moment

  virtual std::string dirPath(int control) const = 0;
  // Moves the list to the folder at path without raising Change; true when the folder is not
  // the one shown before. Throws PlatformError when path is not a folder that can be opened.
  virtual bool setDirPath(int control, const std::string& path) = 0;
  virtual void rereadDir(int control) = 0;

  // The root of the drive selected in a drive list; setDrive selects the drive that holds path
  // and raises nothing.
  virtual std::string drive(int control) const = 0;
  virtual void setDrive(int control, const std::string& path) = 0;

  const std::string& name() const { return name_; }
  bool enabled() const { return enabled_; }

 private:
  friend class Toolkit;
  Toolkit* toolkit_ = nullptr;
  std::string name_;
  int level_ = 0;  // the modal depth it belongs to: it takes input while nothing is above it
  bool enabled_ = true;
  bool shown_ = false;
};

// Stands in for the user where a test needs it: answers message and input boxes without
// showing them, and hears of every window shown. Installed on a toolkit by the tests only.
class StandIn {
 public:
  virtual int answerMessage(const std::string& prompt, int flags, const std::string& title) = 0;
  virtual std::string answerInput(const std::string& prompt, const std::string& title) = 0;
  // A window has been shown; modal tells whether the windows under it now wait for it.
  virtual void shown(const std::string& window, bool modal) = 0;

 protected:
  ~StandIn() = default;
};

class Toolkit {
 public:
  virtual ~Toolkit() = default;

  // ---- Called by the core -----------------------------------------------------------------

  // Makes a window from its description; it takes input unless a modal window is open.
  std::unique_ptr<LiveWindow> createWindow(const WindowSpec& spec, WindowEvents& events);
  // Shows a window made here, over the newest window that takes input. When modal, every other
  // window waits (takes no input) until done() holds, however many modal windows and boxes open
  // and close above it meanwhile.
  void show(LiveWindow& window);
  void showModal(LiveWindow& window, const std::function<bool()>& done);
  // A message box (flags 0 or Yes/No with an icon) or an input box; modal like a window.
  int messageBox(const std::string& prompt, int flags, const std::string& title);
  std::string inputBox(const std::string& prompt, const std::string& title);
  // The one way a front end hands an event to a form. A failure is shown in an "Oops!" box;
  // the handler stops there and the window stays open.
  void dispatch(const std::function<void()>& event);

  // Every live window, the oldest first.
  const std::vector<LiveWindow*>& windows() const { return windows_; }
  void standInWith(StandIn* standIn) { standIn_ = standIn; }

  // ---- Provided by each front end ---------------------------------------------------------

  // The main loop. Returns 0 once quit() has been called, from a handler at any depth of
  // nested loops (at once, if quit() came before the loop started).
  virtual int run() = 0;
  // Handles events until done() holds or quit() has been called: the nested loop of a modal
  // show or box. done() is checked after each event handled.
  virtual void runUntil(const std::function<bool()>& done) = 0;
  // Called once, when the program ends: the main loop and every nested one return.
  virtual void quit() = 0;
  // Runs task from the event loop soon, after what is queued now; tests act from there.
  virtual void post(std::function<void()> task) = 0;

 protected:
  virtual std::unique_ptr<LiveWindow> makeWindow(const WindowSpec& spec, WindowEvents& events) = 0;
  // A real box over owner (null: over no window), while every window of the program waits.
  // Returns the button pressed (kOk, kYes, kNo); an input box returns the text typed, or empty
  // text when cancelled.
  virtual int showMessageBox(LiveWindow* owner, const std::string& prompt, int flags,
                             const std::string& title) = 0;
  virtual std::string showInputBox(LiveWindow* owner, const std::string& prompt,
                                   const std::string& title) = 0;

 private:
  friend class LiveWindow;
  // One modal level more (the window, if any, is the one above), or one less.
  void enterModal(LiveWindow* above);
  void leaveModal();
  void applyModality();
  // The newest shown window that takes input, other than except.
  LiveWindow* topWindow(const LiveWindow* except = nullptr) const;

  std::vector<LiveWindow*> windows_;
  int depth_ = 0;
  StandIn* standIn_ = nullptr;
};

// The native front end of this build (Qt or Win32), made once by the program's entry. Returns
// null, having said why, when there is no display to show windows on.
std::unique_ptr<Toolkit> makeNativeToolkit(int& argc, char** argv);

}  // namespace qb

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

// How a live window's events reach its form. Front ends never call these: they call the
// LiveWindow's report functions, which go through Toolkit::dispatch.
class WindowEvents {
 public:
  // A button was pressed (mouse, Space, or an accessibility action).
  virtual void clicked(int control) = 0;
  // A directory list moved to another folder; a drive list's user picked another drive than
  // the one selected.
  virtual void changed(int control) = 0;
  // The close box, Alt+F4, or the system closing the window. The window stays until the form
  // unloads it.
  virtual void closeRequested() = 0;
  // Items dragged from a file manager were dropped on a window whose description takes drops:
  // their full paths, as many as were dropped, whatever they are. The form decides what they
  // mean: true when it took them.
  virtual bool dropped(const std::vector<std::string>& paths) = 0;

 protected:
  ~WindowEvents() = default;
};

// One window as the front end shows it; controls are addressed by their index in the
// description's table. Made by Toolkit::createWindow when a form loads and destroyed when it
// unloads; destroying it takes the window off the screen at once.
//
// What a control holds, as the core reads and writes it:
// - text: a text box's text, a label's or a button's caption. Lists have none; asking a list for
//   text, or a label or button to take text, is a programming error (std::logic_error).
// - line ends: the core's text has "\n" between lines (a message may hold "\r\n", which shows
//   as one line break); a front end turns them into its controls' own and back, so that what a
//   box gives back is what was typed, with "\n".
// - paths: as files.h gives them; a directory list shows FolderRows (platform/frontend/).
class LiveWindow {
 public:
  virtual ~LiveWindow();

  // Called once by the core after load: shows the window, centred on the owner (or on the
  // screen) as its description says, and gives the focus to the first control that takes it.
  // The placement is a request: a window system may put the window elsewhere (Wayland places
  // every window itself), and nothing may depend on where it lands.
  virtual void show(LiveWindow* owner) = 0;
  // Called only by the core's modality rule. A disabled window takes no mouse, no keys and no
  // close from its frame; what it reports is dropped. Enabling it again makes it the active
  // window when no other window of the program is.
  virtual void setEnabled(bool enabled) = 0;

  virtual std::string text(int control) const = 0;
  virtual void setText(int control, const std::string& text) = 0;
  // Paints the control before it returns, not at the next idle moment: a handler that goes on
  // working shows what it wrote meanwhile.
  virtual void repaint(int control) = 0;

  virtual std::string dirPath(int control) const = 0;
  // Moves the list to the folder at path without raising Change; true when the folder is not
  // the one shown before. Throws PlatformError when path is not a folder that can be opened.
  virtual bool setDirPath(int control, const std::string& path) = 0;
  virtual void rereadDir(int control) = 0;

  // The root of the drive selected in a drive list; setDrive selects the drive that holds path
  // (adding it when it is not listed) and raises nothing. A new drive list lists
  // files::drives(); the core selects the working folder's drive, where a new folder list starts.
  virtual std::string drive(int control) const = 0;
  virtual void setDrive(int control, const std::string& path) = 0;

  const std::string& name() const { return name_; }

 protected:
  // Whether the window was shown modally, so that the windows under it wait for it: set before
  // show is called, for the front end to tell screen readers.
  bool modal() const { return modal_; }

  // What the user did, reported by the front end; each reaches the form through
  // Toolkit::dispatch, so a failure is shown and goes no further, and nothing is reported
  // while the window is disabled.
  // A button was pressed (mouse, Space, or an accessibility action).
  void reportClick(int control);
  // A drive list's user picked another drive than the one selected.
  void reportDrivePicked(int control);
  // The user opened a folder in a directory list: the list moves there, and its Change is
  // raised when it moved.
  void reportFolderOpened(int control, const std::string& path);
  // The close box, Alt+F4, or the system closing the window. The window stays until the form
  // unloads it.
  void reportClose();
  // Items dragged from a file manager were dropped on a window whose description takes drops:
  // their full paths, as many as were dropped, whatever they are. True when the form took them;
  // a front end that can tell the source refuses the drop otherwise.
  bool reportDrop(const std::vector<std::string>& paths);
  // Something the front end met on its own failed, such as a folder a list could not read as it
  // drew it: shown as a handler's failure is, once the event loop is back, never while painting.
  void reportFailure(const PlatformError& error);

 private:
  friend class Toolkit;
  void report(const std::function<void(WindowEvents&)>& event);

  Toolkit* toolkit_ = nullptr;
  WindowEvents* events_ = nullptr;
  std::string name_;
  int level_ = 0;        // the modal depth it belongs to: it takes input while nothing is above it
  bool enabled_ = true;  // what the core lets through
  bool shownEnabled_ = true;  // what the front end was last told
  bool shown_ = false;
  bool modal_ = false;
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
  // The window is about to go. When it is the modal window above every other, its level ends
  // now, so the windows below take input again before it goes: the system then activates its
  // owner, not another program.
  void closing(LiveWindow& window);

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
  // A live window for spec, hidden, its controls made; the core then selects in each drive list
  // the working folder's drive.
  virtual std::unique_ptr<LiveWindow> makeWindow(const WindowSpec& spec) = 0;
  // A real box over owner (null: over no window), while every window of the program waits. The
  // owner is left enabled here: the box disables it and enables it again before the box goes,
  // as a native box does, so that the system activates the owner after it.
  // flags are kOkOnly or kYesNo, with kQuestion or no icon (window_spec.h); the prompt is the
  // core's text as it is, and a box too small for it lets it wrap or scroll rather than change
  // it. Returns the button pressed (kOk, kYes, kNo); an input box returns the text typed, or
  // empty text when cancelled.
  virtual int showMessageBox(LiveWindow* owner, const std::string& prompt, int flags,
                             const std::string& title) = 0;
  virtual std::string showInputBox(LiveWindow* owner, const std::string& prompt,
                                   const std::string& title) = 0;

 private:
  friend class LiveWindow;
  // One modal level more (above: the window over the others, if any; boxOwner: the window a
  // box disables itself), or one less.
  void enterModal(LiveWindow* above, LiveWindow* boxOwner = nullptr);
  void leaveModal();
  void applyModality();
  int depth() const { return static_cast<int>(levels_.size()); }
  // The newest shown window that takes input, other than except.
  LiveWindow* topWindow(const LiveWindow* except = nullptr) const;

  std::vector<LiveWindow*> windows_;
  // Each open modal level, the innermost last: the window above the others (null for a box)
  // and the window a box disables itself.
  struct Level {
    LiveWindow* above = nullptr;
    LiveWindow* boxOwner = nullptr;
  };
  std::vector<Level> levels_;
  StandIn* standIn_ = nullptr;
};

// The native front end of this build (Qt or Win32), made once by the program's entry. Returns
// null, having said why, when there is no display to show windows on.
std::unique_ptr<Toolkit> makeNativeToolkit(int& argc, char** argv);

}  // namespace qb

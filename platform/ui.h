#pragma once

// The toolkit seam. Forms describe their windows here as data and work them through typed
// handles and a few services; a front end (Qt, Win32, the tests' fake) realises the windows.
//
// Each front end must provide a Toolkit and the LiveWindow it creates. Rules the core keeps for
// every front end, so none has to: modality, the Change raised inside a directory list's set
// path, loading a form on first use, and ending the program.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/error.h"

namespace qb {

// ---- Window description -------------------------------------------------------------------

// Sizes are in twips (1440 to the inch); front ends turn them into pixels at the window's DPI.
struct Twips {
  int left = 0, top = 0, width = 0, height = 0;
};

enum class ControlKind { Label, TextBox, Button, DriveList, DirList };

enum class Picture { None, Done, NewFolder, Desktop, MyDocuments };

enum class WindowIcon { Program, Folder };

enum class Placement { CenterScreen, CenterOwner };

struct Font {
  std::string family;  // empty: the front end's usual dialog font
  int points = 0;
  bool bold = false;
};

enum ControlFlags : unsigned {
  kMultiLine = 1u << 0,
  kReadOnly = 1u << 1,
  kAutoSize = 1u << 2,  // a label that is as wide as its caption
};

struct ControlSpec {
  std::string name;
  ControlKind kind;
  std::string caption;
  std::string tooltip;
  Twips rect;
  unsigned flags = 0;
  Picture picture = Picture::None;
  Font font = {};
};

struct WindowSpec {
  std::string name;
  std::string caption;
  int clientWidth = 0, clientHeight = 0;  // twips
  bool closeBox = true;
  bool inTaskbar = false;
  Placement placement = Placement::CenterOwner;
  WindowIcon icon = WindowIcon::Program;
  std::vector<ControlSpec> controls;  // in tab order; the first has the focus when shown
};

// ---- Message and input boxes --------------------------------------------------------------

enum MsgBoxFlags : int { kOkOnly = 0, kYesNo = 4, kQuestion = 32 };
enum MsgBoxResult : int { kOk = 1, kYes = 6, kNo = 7 };

enum class UnloadMode { FormControlMenu = 0, FromCode = 1 };

// ---- What a front end provides ------------------------------------------------------------

// How a live window reports what the user did. A front end calls these only from inside
// Toolkit::dispatch, so that a failure in the handler is shown and goes no further.
class WindowEvents {
 public:
  virtual void clicked(int control) = 0;
  virtual void changed(int control) = 0;  // a directory list opened a folder; a drive was picked
  virtual void closeRequested() = 0;      // the close box, or the system closing the window

 protected:
  ~WindowEvents() = default;
};

// One window as the front end shows it. Controls are addressed by their index in the
// description's table. Made when a form loads and destroyed when it unloads.
class LiveWindow {
 public:
  virtual ~LiveWindow() = default;

  // Shows the window, centred on the owner (or the screen) as its description says.
  virtual void show(LiveWindow* owner) = 0;
  // Used by the core's modality rule: a disabled window takes no input.
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
};

class Toolkit {
 public:
  virtual ~Toolkit() = default;

  virtual std::unique_ptr<LiveWindow> createWindow(const WindowSpec& spec,
                                                   WindowEvents& events) = 0;
  // The main loop: handles events until quit().
  virtual int run() = 0;
  // Handles events until done() holds: the nested loop of a modal show.
  virtual void runUntil(const std::function<bool()>& done) = 0;
  // Stops the main loop; called once, when the program ends.
  virtual void quit() = 0;
  virtual int messageBox(const std::string& prompt, int flags, const std::string& title) = 0;
  // The text typed, or empty text when cancelled.
  virtual std::string inputBox(const std::string& prompt, const std::string& title) = 0;

  // The one way a front end hands an event to a form. A failure is shown in an "Oops!" box;
  // the handler stops there and the window stays open.
  void dispatch(const std::function<void()>& event);
};

// The native front end of this build (Qt or Win32), made once by the program's entry. Returns
// null, having said why, when there is no display to show windows on.
std::unique_ptr<Toolkit> makeNativeToolkit(int& argc, char** argv);

// ---- What forms use -----------------------------------------------------------------------

class Form;

// Thrown by Ui::end to leave every handler at once; Toolkit::dispatch swallows it.
struct ProgramEnded {};

// Window services: showing, modality, unloading, ending, message and input boxes.
class Ui {
 public:
  explicit Ui(Toolkit& toolkit) : toolkit_(toolkit) {}
  Ui(const Ui&) = delete;
  Ui& operator=(const Ui&) = delete;

  void show(Form& form);
  // Returns once the form has been unloaded; meanwhile the other windows take no input.
  void showModal(Form& form);
  // Raises QueryUnload, then destroys the live window unless the handler cancelled.
  void unload(Form& form, UnloadMode mode = UnloadMode::FromCode);
  // Destroys every window and stops the program; no further events are handled.
  [[noreturn]] void end();
  bool ended() const { return ended_; }

  int msgBox(const std::string& prompt, int flags, const std::string& title);
  std::string inputBox(const std::string& prompt, const std::string& title);

  Toolkit& toolkit() { return toolkit_; }

 private:
  friend class Form;
  LiveWindow* topWindow() const;

  Toolkit& toolkit_;
  std::vector<Form*> forms_;  // every form, loaded or not
  std::vector<Form*> shown_;  // shown windows, the newest last
  bool ended_ = false;
};

// The base of every window class: one program-wide instance that keeps its members for the
// whole run, while its live window comes and goes with load and unload.
class Form : private WindowEvents {
 public:
  Form(Ui& ui, const WindowSpec& spec);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const WindowSpec& spec() const { return spec_; }
  bool loaded() const { return live_ != nullptr; }
  // Makes the live window and raises Load, if the form is not loaded yet.
  void load();
  // The live window, loading the form first when it is not loaded.
  LiveWindow& live();

 protected:
  int controlIndex(const std::string& name, ControlKind kind) const;
  void onClick(int control, std::function<void()> handler);
  void onChange(int control, std::function<void()> handler);
  void onLoad(std::function<void()> handler) { load_ = std::move(handler); }
  void onQueryUnload(std::function<void(bool& cancel, UnloadMode mode)> handler) {
    queryUnload_ = std::move(handler);
  }

  Ui& ui;

 private:
  friend class Ui;
  friend class Control;
  friend class DirList;
  void clicked(int control) override;
  void changed(int control) override;
  void closeRequested() override;

  struct Handlers {
    std::function<void()> click = [] {};
    std::function<void()> change = [] {};
  };

  const WindowSpec& spec_;
  std::vector<Handlers> handlers_;
  std::function<void()> load_ = [] {};
  std::function<void(bool&, UnloadMode)> queryUnload_ = [](bool&, UnloadMode) {};
  std::unique_ptr<LiveWindow> live_;
  bool unloading_ = false;
};

// Typed handles to a form's controls. They stay valid across load and unload; using one while
// the form is unloaded loads it.
class Control {
 public:
  Control(Form& form, const std::string& name, ControlKind kind)
      : form_(form), index_(form.controlIndex(name, kind)) {}
  int index() const { return index_; }

 protected:
  LiveWindow& live() const { return form_.live(); }
  Form& form_;
  const int index_;
};

class Label : public Control {
 public:
  Label(Form& form, const std::string& name) : Control(form, name, ControlKind::Label) {}
};

class Button : public Control {
 public:
  Button(Form& form, const std::string& name) : Control(form, name, ControlKind::Button) {}
};

class TextBox : public Control {
 public:
  TextBox(Form& form, const std::string& name) : Control(form, name, ControlKind::TextBox) {}
  std::string text() const { return live().text(index_); }
  void setText(const std::string& text) { live().setText(index_, text); }
  void refresh() { live().repaint(index_); }
};

class DirList : public Control {
 public:
  DirList(Form& form, const std::string& name) : Control(form, name, ControlKind::DirList) {}
  std::string path() const { return live().dirPath(index_); }
  // Raises the list's Change before returning when path is another folder than the one shown.
  void setPath(const std::string& path);
  void refresh() { live().rereadDir(index_); }
};

class DriveList : public Control {
 public:
  DriveList(Form& form, const std::string& name) : Control(form, name, ControlKind::DriveList) {}
  std::string drive() const { return live().drive(index_); }
  // Selects the drive that holds path, without raising Change.
  void setDrive(const std::string& path) { live().setDrive(index_, path); }
};

}  // namespace qb

#pragma once

// The forms' runtime: the services their handlers call (show, modal show, unload, end, boxes),
// the Form base class and the typed handles to controls. A form never sees a front end: it
// describes its window (platform/window_spec.h) and the toolkit (platform/toolkit.h) shows it.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/toolkit.h"

namespace qb {

// ---- What forms use -----------------------------------------------------------------------

class Form;

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

 private:
  friend class Form;

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
  // The handler says whether it took what was dropped.
  void onDrop(std::function<bool(const std::vector<std::string>& paths)> handler) {
    drop_ = std::move(handler);
  }
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
  bool dropped(const std::vector<std::string>& paths) override { return drop_(paths); }

  struct Handlers {
    std::function<void()> click = [] {};
    std::function<void()> change = [] {};
  };

  const WindowSpec& spec_;
  WindowSpec shown_;  // spec_ in the user's language, while the window is loaded
  std::vector<Handlers> handlers_;
  std::function<void()> load_ = [] {};
  std::function<bool(const std::vector<std::string>&)> drop_ = [](const auto&) { return false; };
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

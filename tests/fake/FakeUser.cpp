// The fake toolkit: windows as plain data, driven directly by the scripted user. Modal shows run
// the script given for the window that opened, with the core's own modality rule around them.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "platform/files.h"
#include "tests/support/ScriptedUser.h"

namespace qb::test {

namespace {

class FakeToolkit;

struct FakeControl {
  std::string text;
  std::string dirPath;
  std::string drive;
  std::vector<std::string> rows;  // a directory list's rows, read when first needed
  bool stale = true;
};

class FakeWindow : public LiveWindow {
 public:
  FakeWindow(FakeToolkit& toolkit, const WindowSpec& spec, WindowEvents& events);
  ~FakeWindow() override;

  void show(LiveWindow* /*owner*/) override;
  void setEnabled(bool enabled) override { enabled_ = enabled; }
  std::string text(int control) const override { return at(control).text; }
  void setText(int control, const std::string& text) override { at(control).text = text; }
  void repaint(int /*control*/) override {}
  std::string dirPath(int control) const override { return at(control).dirPath; }
  bool setDirPath(int control, const std::string& path) override {
    const std::string folder = files::folderPath(path);
    if (folder == at(control).dirPath) return false;
    at(control).dirPath = folder;
    at(control).stale = true;
    return true;
  }
  void rereadDir(int control) override { at(control).stale = true; }
  const std::vector<std::string>& rows(int control) {
    FakeControl& list = at(control);
    if (list.stale) {
      list.rows = files::ancestors(list.dirPath);
      const std::string prefix = list.dirPath.back() == files::kSeparator
                                     ? list.dirPath
                                     : list.dirPath + files::kSeparator;
      for (const std::string& name : files::subfolders(list.dirPath)) {
        list.rows.push_back(prefix + name);
      }
      list.stale = false;
    }
    return list.rows;
  }
  std::string drive(int control) const override { return at(control).drive; }
  void setDrive(int control, const std::string& path) override {
    at(control).drive = files::driveOf(path);
  }

  const WindowSpec& spec;
  WindowEvents& events;
  bool shown = false;
  bool enabled_ = true;

 private:
  FakeControl& at(int control) { return controls_.at(static_cast<std::size_t>(control)); }
  const FakeControl& at(int control) const {
    return controls_.at(static_cast<std::size_t>(control));
  }

  FakeToolkit& toolkit_;
  std::vector<FakeControl> controls_;
};

class FakeToolkit : public Toolkit {
 public:
  std::unique_ptr<LiveWindow> createWindow(const WindowSpec& spec, WindowEvents& events) override {
    return std::make_unique<FakeWindow>(*this, spec, events);
  }
  int run() override { return 0; }
  void runUntil(const std::function<bool()>& done) override {
    FakeWindow* modal = shownOrder.empty() ? nullptr : shownOrder.back();
    if (!modal) return;
    const std::string name = modal->spec.name;
    runScript(name);
    while (!done()) {
      ADD_FAILURE() << name << " was left open by its script";
      FakeWindow* still = find(name);
      if (!still) break;
      dispatch([still] { still->events.closeRequested(); });
    }
  }
  void quit() override {}
  int messageBox(const std::string& prompt, int flags, const std::string& title) override {
    return answerMessage(prompt, flags, title);
  }
  std::string inputBox(const std::string& prompt, const std::string& title) override {
    return answerInput(prompt, title);
  }

  FakeWindow* find(const std::string& name) {
    for (FakeWindow* window : windows) {
      if (window->shown && window->spec.name == name) return window;
    }
    return nullptr;
  }

  std::vector<FakeWindow*> windows;
  std::vector<FakeWindow*> shownOrder;
  std::function<void(const std::string&)> runScript;
  std::function<int(const std::string&, int, const std::string&)> answerMessage;
  std::function<std::string(const std::string&, const std::string&)> answerInput;
};

FakeWindow::FakeWindow(FakeToolkit& toolkit, const WindowSpec& windowSpec,
                       WindowEvents& windowEvents)
    : spec(windowSpec), events(windowEvents), toolkit_(toolkit), controls_(spec.controls.size()) {
  const std::string start = files::workingFolder();
  for (std::size_t i = 0; i < spec.controls.size(); ++i) {
    if (spec.controls[i].kind == ControlKind::DirList) controls_[i].dirPath = start;
    if (spec.controls[i].kind == ControlKind::DriveList) controls_[i].drive = files::driveOf(start);
    if (spec.controls[i].kind == ControlKind::Label) controls_[i].text = spec.controls[i].caption;
  }
  toolkit_.windows.push_back(this);
}

FakeWindow::~FakeWindow() {
  auto& all = toolkit_.windows;
  all.erase(std::remove(all.begin(), all.end(), this), all.end());
  auto& order = toolkit_.shownOrder;
  order.erase(std::remove(order.begin(), order.end(), this), order.end());
}

void FakeWindow::show(LiveWindow* /*owner*/) {
  shown = true;
  toolkit_.shownOrder.push_back(this);
}

class FakeUser : public ScriptedUser {
 public:
  FakeUser() {
    toolkit_.runScript = [this](const std::string& name) { takeScript(name)(); };
    toolkit_.answerMessage = [this](const std::string& p, int f, const std::string& t) {
      return answerMessage(p, f, t);
    };
    toolkit_.answerInput = [this](const std::string& p, const std::string& t) {
      return answerInput(p, t);
    };
  }

  Toolkit& toolkit() override { return toolkit_; }

  void click(const std::string& window, const std::string& control) override {
    auto [live, index] = find(window, control, ControlKind::Button);
    if (!live || !live->enabled_) return;
    toolkit_.dispatch([live, i = index] { live->events.clicked(i); });
  }

  void type(const std::string& window, const std::string& control,
            const std::string& text) override {
    auto [live, index] = find(window, control, ControlKind::TextBox);
    if (!live || !live->enabled_ || (spec(live, index).flags & kReadOnly)) return;
    std::string typed = text;
    // A one-line box keeps no line breaks.
    if (!(spec(live, index).flags & kMultiLine)) std::erase(typed, '\n');
    live->setText(index, typed);
  }

  void openFolder(const std::string& window, const std::string& control,
                  const std::string& path) override {
    auto shown = rows(window, control);
    if (std::find(shown.begin(), shown.end(), path) == shown.end()) {
      ADD_FAILURE() << path << " is not shown in " << control;
      return;
    }
    auto [live, index] = find(window, control, ControlKind::DirList);
    if (!live->enabled_) return;
    toolkit_.dispatch([live, i = index, path] {
      if (live->setDirPath(i, path)) live->events.changed(i);
    });
  }

  void pickDrive(const std::string& window, const std::string& control,
                 const std::string& root) override {
    auto listed = drives(window, control);
    if (std::find(listed.begin(), listed.end(), root) == listed.end()) {
      ADD_FAILURE() << root << " is not listed in " << control;
      return;
    }
    auto [live, index] = find(window, control, ControlKind::DriveList);
    if (!live->enabled_) return;
    live->setDrive(index, root);
    toolkit_.dispatch([live, i = index] { live->events.changed(i); });
  }

  void close(const std::string& window) override {
    FakeWindow* live = toolkit_.find(window);
    if (!live) {
      ADD_FAILURE() << window << " is not open";
      return;
    }
    if (!live->enabled_) return;
    toolkit_.dispatch([live] { live->events.closeRequested(); });
  }

  bool isOpen(const std::string& window) override { return toolkit_.find(window) != nullptr; }

  std::string text(const std::string& window, const std::string& control) override {
    auto [live, index] = find(window, control, ControlKind::TextBox);
    return live ? live->text(index) : "";
  }

  std::vector<std::string> rows(const std::string& window, const std::string& control) override {
    auto [live, index] = find(window, control, ControlKind::DirList);
    return live ? live->rows(index) : std::vector<std::string>{};
  }

  std::vector<std::string> drives(const std::string& window, const std::string& control) override {
    auto [live, index] = find(window, control, ControlKind::DriveList);
    return live ? files::drives() : std::vector<std::string>{};
  }

  std::string selectedDrive(const std::string& window, const std::string& control) override {
    auto [live, index] = find(window, control, ControlKind::DriveList);
    return live ? live->drive(index) : "";
  }

  ControlFacts facts(const std::string& window, const std::string& control) override {
    FakeWindow* live = toolkit_.find(window);
    if (!live) {
      ADD_FAILURE() << window << " is not open";
      return {};
    }
    ControlFacts facts;
    for (const ControlSpec& c : live->spec.controls) {
      if (c.name != control) continue;
      const auto px = [](int twips) { return static_cast<int>(std::lround(twips / 15.0)); };
      facts = {px(c.rect.left),
               px(c.rect.top),
               px(c.rect.width),
               px(c.rect.height),
               c.tooltip,
               (c.flags & kReadOnly) != 0,
               (c.flags & kMultiLine) != 0,
               false};
    }
    // The first control that can take the focus has it.
    for (const ControlSpec& c : live->spec.controls) {
      if (c.kind == ControlKind::Label) continue;
      facts.focused = c.name == control;
      break;
    }
    return facts;
  }

  std::string caption(const std::string& window) override {
    FakeWindow* live = toolkit_.find(window);
    return live ? live->spec.caption : "";
  }

  bool enabled(const std::string& window) override {
    FakeWindow* live = toolkit_.find(window);
    return live && live->enabled_;
  }

 private:
  std::pair<FakeWindow*, int> find(const std::string& window, const std::string& control,
                                   ControlKind kind) {
    FakeWindow* live = toolkit_.find(window);
    if (!live) {
      ADD_FAILURE() << window << " is not open";
      return {nullptr, 0};
    }
    for (std::size_t i = 0; i < live->spec.controls.size(); ++i) {
      if (live->spec.controls[i].name == control && live->spec.controls[i].kind == kind) {
        return {live, static_cast<int>(i)};
      }
    }
    ADD_FAILURE() << window << " has no such control: " << control;
    return {nullptr, 0};
  }

  static const ControlSpec& spec(FakeWindow* live, int index) {
    return live->spec.controls.at(static_cast<std::size_t>(index));
  }

  FakeToolkit toolkit_;
};

}  // namespace

std::unique_ptr<ScriptedUser> makeScriptedUser() {
  return std::make_unique<FakeUser>();
}

}  // namespace qb::test

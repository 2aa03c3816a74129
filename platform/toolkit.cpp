#include "platform/toolkit.h"

#include "platform/catalogue.h"

#include <algorithm>
#include <exception>

#include "platform/files.h"

namespace qb {

LiveWindow::~LiveWindow() {
  if (!toolkit_) return;
  auto& all = toolkit_->windows_;
  all.erase(std::remove(all.begin(), all.end(), this), all.end());
  for (Toolkit::Level& level : toolkit_->levels_) {
    if (level.above == this) level.above = nullptr;
    if (level.boxOwner == this) level.boxOwner = nullptr;
  }
}

void LiveWindow::report(const std::function<void(WindowEvents&)>& event) {
  if (!enabled_ || !toolkit_) return;
  toolkit_->dispatch([&] { event(*events_); });
}

void LiveWindow::reportClick(int control) {
  report([control](WindowEvents& form) { form.clicked(control); });
}

void LiveWindow::reportDrivePicked(int control) {
  report([control](WindowEvents& form) { form.changed(control); });
}

void LiveWindow::reportFolderOpened(int control, const std::string& path) {
  report([&](WindowEvents& form) {
    if (setDirPath(control, path)) form.changed(control);
  });
}

void LiveWindow::reportClose() {
  report([](WindowEvents& form) { form.closeRequested(); });
}

bool LiveWindow::reportDrop(const std::vector<std::string>& paths) {
  bool taken = false;
  report([&](WindowEvents& form) { taken = form.dropped(paths); });
  return taken;
}

void LiveWindow::reportFailure(const PlatformError& error) {
  if (Toolkit* toolkit = toolkit_)
    toolkit->post([toolkit, error] { toolkit->dispatch([&] { throw error; }); });
}

std::unique_ptr<LiveWindow> Toolkit::createWindow(const WindowSpec& spec, WindowEvents& events) {
  std::unique_ptr<LiveWindow> window = makeWindow(spec);
  window->toolkit_ = this;
  window->events_ = &events;
  window->name_ = spec.name;
  window->level_ = depth();
  // A drive list starts on the drive of the working folder, where a new folder list starts.
  for (std::size_t i = 0; i < spec.controls.size(); ++i) {
    if (spec.controls[i].kind == ControlKind::DriveList) {
      window->setDrive(static_cast<int>(i), files::workingFolder());
    }
  }
  windows_.push_back(window.get());
  return window;
}

void Toolkit::show(LiveWindow& window) {
  LiveWindow* owner = topWindow(&window);
  window.shown_ = true;
  window.show(owner);
  if (standIn_) standIn_->shown(window.name(), false);
}

void Toolkit::showModal(LiveWindow& window, const std::function<bool()>& done) {
  LiveWindow* owner = topWindow(&window);
  enterModal(&window);
  const int level = depth();
  // Its level may have ended already, when the window went (closing).
  const auto leave = [&] {
    if (depth() == level) leaveModal();
  };
  try {
    window.shown_ = true;
    window.modal_ = true;
    window.show(owner);
    if (standIn_) standIn_->shown(window.name(), true);
    runUntil(done);
  } catch (...) {
    leave();
    throw;
  }
  leave();
}

int Toolkit::messageBox(const std::string& prompt, int flags, const std::string& title) {
  LiveWindow* owner = topWindow();
  enterModal(nullptr, owner);
  int answer = kOk;
  try {
    answer = standIn_ ? standIn_->answerMessage(prompt, flags, title)
                      : showMessageBox(owner, prompt, flags, title);
  } catch (...) {
    leaveModal();
    throw;
  }
  leaveModal();
  return answer;
}

std::string Toolkit::inputBox(const std::string& prompt, const std::string& title) {
  LiveWindow* owner = topWindow();
  enterModal(nullptr, owner);
  std::string answer;
  try {
    answer = standIn_ ? standIn_->answerInput(prompt, title) : showInputBox(owner, prompt, title);
  } catch (...) {
    leaveModal();
    throw;
  }
  leaveModal();
  return answer;
}

void Toolkit::dispatch(const std::function<void()>& event) {
  try {
    event();
  } catch (const ProgramEnded&) {
    // The program is over; nothing more to say.
  } catch (const PlatformError& e) {
    messageBox(e.path().empty() ? e.reason() : asIs(e.path()) + "\n\n" + e.reason(), kOkOnly,
               tr("Oops!"));
  } catch (const std::exception& e) {
    messageBox(e.what(), kOkOnly, tr("Oops!"));
  }
}

void Toolkit::closing(LiveWindow& window) {
  if (!levels_.empty() && levels_.back().above == &window) leaveModal();
}

// A window takes input while no modal level above its own is open. Counting levels, rather
// than re-enabling what one show disabled, keeps a window disabled by an outer modal show
// disabled after an inner one ends.
void Toolkit::enterModal(LiveWindow* above, LiveWindow* boxOwner) {
  levels_.push_back({above, boxOwner});
  if (above) above->level_ = depth();
  applyModality();
}

void Toolkit::leaveModal() {
  levels_.pop_back();
  for (LiveWindow* window : windows_)
    window->level_ = std::min(window->level_, depth());
  applyModality();
}

void Toolkit::applyModality() {
  const LiveWindow* boxOwner = levels_.empty() ? nullptr : levels_.back().boxOwner;
  // Copied: enabling a window may run a front end's loop, which may unload another.
  const std::vector<LiveWindow*> all = windows_;
  for (LiveWindow* window : all) {
    if (std::find(windows_.begin(), windows_.end(), window) == windows_.end()) continue;
    window->enabled_ = window->level_ >= depth();
    // A box's owner is the box's to disable.
    const bool shownEnabled = window->enabled_ || window == boxOwner;
    if (shownEnabled == window->shownEnabled_) continue;
    window->shownEnabled_ = shownEnabled;
    window->setEnabled(shownEnabled);
  }
}

LiveWindow* Toolkit::topWindow(const LiveWindow* except) const {
  for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
    if (*it != except && (*it)->shown_ && (*it)->enabled_) return *it;
  }
  return nullptr;
}

}  // namespace qb

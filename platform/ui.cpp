#include "platform/ui.h"

#include "platform/catalogue.h"

#include <algorithm>
#include <exception>

namespace qb {

// ---- Ui -----------------------------------------------------------------------------------

void Ui::show(Form& form) {
  form.load();
  if (std::find(shown_.begin(), shown_.end(), &form) == shown_.end()) shown_.push_back(&form);
  toolkit_.show(*form.live_);
}

void Ui::showModal(Form& form) {
  if (std::find(shown_.begin(), shown_.end(), &form) != shown_.end()) {
    throw PlatformError(tr(form.spec().caption), tr("This window is open already."));
  }
  form.load();
  shown_.push_back(&form);
  toolkit_.showModal(*form.live_, [&] { return ended_ || !form.loaded(); });
  if (ended_) throw ProgramEnded{};
}

void Ui::unload(Form& form, UnloadMode mode) {
  if (!form.loaded() || form.unloading_) return;
  form.unloading_ = true;
  bool cancel = false;
  try {
    form.queryUnload_(cancel, mode);
  } catch (...) {
    form.unloading_ = false;
    throw;
  }
  form.unloading_ = false;
  if (cancel || ended_) return;
  shown_.erase(std::remove(shown_.begin(), shown_.end(), &form), shown_.end());
  toolkit_.closing(*form.live_);
  form.live_.reset();
}

void Ui::end() {
  ended_ = true;
  shown_.clear();
  for (Form* form : forms_)
    form->live_.reset();
  toolkit_.quit();
  throw ProgramEnded{};
}

int Ui::msgBox(const std::string& prompt, int flags, const std::string& title) {
  return toolkit_.messageBox(prompt, flags, title);
}

std::string Ui::inputBox(const std::string& prompt, const std::string& title) {
  return toolkit_.inputBox(prompt, title);
}

// ---- Form ---------------------------------------------------------------------------------

Form::Form(Ui& services, const WindowSpec& spec)
    : ui(services), spec_(spec), handlers_(spec.controls.size()) {
  ui.forms_.push_back(this);
}

Form::~Form() {
  live_.reset();
  auto& forms = ui.forms_;
  forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
  auto& shown = ui.shown_;
  shown.erase(std::remove(shown.begin(), shown.end(), this), shown.end());
}

void Form::load() {
  if (live_) return;
  if (ui.ended_) throw ProgramEnded{};
  // The window as the user reads it: its texts in the user's language.
  shown_ = spec_;
  shown_.caption = tr(spec_.caption);
  for (ControlSpec& control : shown_.controls) {
    control.caption = tr(control.caption);
    control.tooltip = tr(control.tooltip);
    control.accessibleName = tr(control.accessibleName);
  }
  live_ = ui.toolkit_.createWindow(shown_, *this);
  try {
    load_();
  } catch (...) {
    // A window whose Load failed is not left half made.
    live_.reset();
    throw;
  }
}

LiveWindow& Form::live() {
  load();
  return *live_;
}

int Form::controlIndex(const std::string& name, ControlKind kind) const {
  for (std::size_t i = 0; i < spec_.controls.size(); ++i) {
    if (spec_.controls[i].name == name) {
      if (spec_.controls[i].kind != kind) break;
      return static_cast<int>(i);
    }
  }
  throw std::logic_error(spec_.name + " has no control " + name + " of that kind");
}

void Form::onClick(int control, std::function<void()> handler) {
  handlers_.at(control).click = std::move(handler);
}

void Form::onChange(int control, std::function<void()> handler) {
  handlers_.at(control).change = std::move(handler);
}

void Form::clicked(int control) {
  handlers_.at(control).click();
}

void Form::changed(int control) {
  handlers_.at(control).change();
}

void Form::closeRequested() {
  ui.unload(*this, UnloadMode::FormControlMenu);
}

// ---- Controls -----------------------------------------------------------------------------

void DirList::setPath(const std::string& path) {
  if (live().setDirPath(index_, path)) form_.changed(index_);
}

}  // namespace qb

#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "platform/files.h"
#include "tests/support/Disk.h"
#include "tests/support/ScriptedUser.h"
#include "wizard/Quenbrook.h"

namespace qb::test {

// A story: the program started on the toolkit under test, a user, and a fresh folder.
class Story : public ::testing::Test {
 protected:
  Story() : user_(makeScriptedUser()) { restart(); }

  ScriptedUser& user() { return *user_; }
  Quenbrook& program() { return *program_; }
  const TempFolder& temp() const { return temp_; }

  // A new run of the program, with step 1 open.
  void restart() {
    program_.reset();
    user_->forgetAsked();
    program_ = std::make_unique<Quenbrook>(user_->toolkit());
    user_->toolkit().dispatch([this] { program_->start(); });
  }

  // Browse in step 1; in the picker, do what the user does there.
  void browse(std::function<void()> inPicker) {
    user().whenOpens("frmGetFolder", std::move(inPicker));
    user().click("frmMain", "Command1");
  }

  // Browse, type a path into the picker's path box and press Done.
  void choose(const std::string& path) {
    browse([&] {
      user().type("frmGetFolder", "txtPathlist", path);
      user().click("frmGetFolder", "btnDone");
    });
  }

  // Opens, from the root down, every folder on the way to path, in the picker's list.
  void walkTo(const std::string& path) {
    std::vector<std::string> steps = files::ancestors(files::folderPath(path));
    for (const std::string& step : steps)
      user().openFolder("frmGetFolder", "Dir1", step);
  }

  // Shows the picker the way a caller does and returns what it yields.
  std::string pick(std::function<void()> inPicker) {
    user().whenOpens("frmGetFolder", std::move(inPicker));
    user().toolkit().dispatch([this] { program().ui.showModal(program().getFolder); });
    return program().getFolder.SelectedFolder;
  }

 private:
  TempFolder temp_;
  std::unique_ptr<ScriptedUser> user_;
  std::unique_ptr<Quenbrook> program_;
};

}  // namespace qb::test

#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "platform/files.h"
#include "tests/support/Disk.h"
#include "tests/support/ScriptedUser.h"
#include "wizard/Quenbrook.h"

namespace qb::test {

// An "Oops!" message that names path and says why: in reason's words when given, otherwise in
// the operating system's, after a blank line.
inline void expectOops(const Asked& asked, const std::string& path, const char* reason = nullptr) {
  EXPECT_EQ(asked.title, "Oops!");
  EXPECT_EQ(asked.flags, 0);
  const auto named = asked.prompt.find(path);
  EXPECT_NE(named, std::string::npos) << asked.prompt;
  if (reason) {
    EXPECT_NE(asked.prompt.find(reason), std::string::npos) << asked.prompt;
  } else {
    const auto why = asked.prompt.find("\n\n", named);
    EXPECT_TRUE(why != std::string::npos && why + 2 < asked.prompt.size()) << asked.prompt;
  }
}

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
    // A folder list shows its own drive only: a folder on another drive is reached by it.
    const std::string drive = files::driveOf(path);
    if (user().selectedDrive("frmGetFolder", "Drive1") != drive) {
      user().pickDrive("frmGetFolder", "Drive1", drive);
    }
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

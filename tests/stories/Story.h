#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "platform/files.h"
#include "tests/support/Disk.h"
#include "tests/support/ScriptedUser.h"
#include "wizard/Quenbrook.h"

namespace qb::test {

// How a story leaves the program: ended by what the user did, or still open.
enum class Ending { Ends, StaysOpen };

// A story: the program run as main runs it, on the toolkit under test, with a user acting from
// inside its main loop, and a fresh folder.
class Story : public ::testing::Test {
 protected:
  Story() : user_(makeScriptedUser()) {}

  ScriptedUser& user() { return *user_; }
  Quenbrook& program() { return *program_; }
  const TempFolder& temp() const { return temp_; }

  // Runs the program with script as what the user does. A story that ends the program sees
  // the main loop return 0 with no window left; one that expects it open says so.
  void play(const std::function<void()>& script) { EXPECT_EQ(run(script, false), 0); }

  // Runs the program with script as what the user does, until a failure is shown: the user then
  // stops, and the program is ended. Returns the main loop's status.
  int playUntilFailure(const std::function<void()>& script) { return run(script, true); }

  // Browse, in step 1 unless another window's button is given; in the picker, do what the user
  // does there.
  void browse(std::function<void()> inPicker, const char* window = "frmMain",
              const char* button = "Command1") {
    user().whenOpens("frmGetFolder", std::move(inPicker));
    user().click(window, button);
  }

  // Browse, type a path into the picker's path box and press Done.
  void choose(const std::string& path, const char* window = "frmMain",
              const char* button = "Command1") {
    browse(
        [&] {
          user().type("frmGetFolder", "txtPathlist", path);
          user().click("frmGetFolder", "btnDone");
        },
        window, button);
  }

  // The typical step 1: Browse, the documents folder, a new folder "Project" there, Done; in the
  // picker first what looking does, and in step 2 what inStep2 does.
  void newProjectInDocuments(std::function<void()> inStep2, std::function<void()> looking = {}) {
    user().whenOpens("frmMain2", std::move(inStep2));
    browse([this, looking] {
      if (looking) looking();
      user().click("frmGetFolder", "btnMyDocuments");
      user().answerNextInput("Project");
      user().answerNextMessage(kYes);
      user().click("frmGetFolder", "btnNewFolder");
      user().click("frmGetFolder", "btnDone");
    });
  }

  // Opens, from the root down, every folder on the way to path, in the picker's list.
  void walkTo(const std::string& path) {
    // A folder list shows its own drive only: a folder on another drive is reached by it.
    const std::string drive = files::driveOf(path);
    if (user().facts("frmGetFolder", "Drive1").choice != drive)
      user().pickDrive("frmGetFolder", "Drive1", drive);
    for (const std::string& step : files::ancestors(files::folderPath(path)))
      user().openFolder("frmGetFolder", "Dir1", step);
  }

  // Shows the picker the way a caller does and returns what it yields.
  std::string pick(std::function<void()> inPicker) {
    user().whenOpens("frmGetFolder", std::move(inPicker));
    user().toolkit().dispatch([this] { program().ui.showModal(program().getFolder); });
    return program().getFolder.SelectedFolder;
  }

 private:
  int run(const std::function<void()>& script, bool untilFailure) {
    Arguments arguments;
    if (untilFailure) user_->startOver();
    user_->forgetAsked();
    return runQuenbrook(arguments.argc, arguments.argv, [&](Toolkit& toolkit, Quenbrook& program) {
      program_ = &program;
      user_->attach(toolkit);
      if (untilFailure) user_->stopAtFailure([&] { toolkit.dispatch([&] { program.ui.end(); }); });
      script();
      if (program.ui.ended() && !untilFailure) {
        EXPECT_EQ(ending_, Ending::Ends) << "The program ended";
        EXPECT_TRUE(toolkit.windows().empty());
        EXPECT_FALSE(user_->anyWindowShown());
      } else if (!program.ui.ended()) {
        EXPECT_TRUE(untilFailure || ending_ == Ending::StaysOpen)
            << "The program was left running after the story";
        toolkit.dispatch([&] { program.ui.end(); });
      }
      user_->stopAtFailure(nullptr);
      user_->detach();
      program_ = nullptr;
    });
  }

  TempFolder temp_;
  std::unique_ptr<ScriptedUser> user_;
  Quenbrook* program_ = nullptr;

 protected:
  Ending ending_ = Ending::Ends;  // how this fixture's stories leave the program
};

// The picker shown as its callers show it; step 1 stays open under it.
class PickerStory : public Story {
 protected:
  PickerStory() { ending_ = Ending::StaysOpen; }
};

}  // namespace qb::test

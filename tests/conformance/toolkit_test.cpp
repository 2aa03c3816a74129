// What every toolkit must do for the forms, run over each of them.

#include <gtest/gtest.h>

#include <utility>

#include "platform/ui.h"
#include "platform/wrap.h"
#include "tests/support/Disk.h"
#include "tests/support/ScriptedUser.h"

namespace qb::test {
namespace {

const WindowSpec kOuter{
    .name = "frmOuter",
    .caption = "Outer",
    .clientWidth = 4800,
    .clientHeight = 3000,
    .inTaskbar = true,
    .placement = Placement::CenterScreen,
    .controls =
        {
            {"lblName", ControlKind::Label, "Name", "", {120, 60, 1065, 195}, kAutoSize},
            {"txtName", ControlKind::TextBox, "", "", {120, 300, 4455, 285}},
            {"btnGo", ControlKind::Button, "Go", "Go somewhere", {3420, 720, 1155, 255}},
            {"btnOpen", ControlKind::Button, "Open", "", {3420, 1020, 1155, 255}},
            {"Dir1", ControlKind::DirList, "", "", {120, 720, 3000, 2000}},
        },
};

const WindowSpec kInner{
    .name = "frmInner",
    .caption = "Inner",
    .clientWidth = 3000,
    .clientHeight = 1500,
    .controls = {{"txtNote", ControlKind::TextBox, "", "", {120, 120, 2700, 555}, kMultiLine}},
};

std::vector<std::string> events;  // what the forms' handlers did, in order

class Inner : public Form {
 public:
  explicit Inner(Ui& services) : Form(services, kInner) {
    onLoad([] { events.push_back("inner load"); });
    onQueryUnload([this](bool& cancel, UnloadMode mode) {
      kept = txtNote.text();
      events.push_back(mode == UnloadMode::FormControlMenu ? "inner closed" : "inner unloaded");
      cancel = std::exchange(refuseOnce, false);
    });
  }
  std::string kept;
  bool refuseOnce = false;
  TextBox txtNote{*this, "txtNote"};
};

class Outer : public Form {
 public:
  Outer(Ui& services, Inner& inner) : Form(services, kOuter) {
    onChange(Dir1.index(), [this] { events.push_back("change " + Dir1.path()); });
    onClick(btnGo.index(), [this] {
      events.push_back("go");
      Dir1.setPath(target);
      events.push_back("went");
    });
    onClick(btnOpen.index(), [this, &inner] {
      ui.showModal(inner);
      events.push_back("returned");
    });
    onQueryUnload([this](bool&, UnloadMode) { ui.end(); });
  }
  std::string target;
  Button btnGo{*this, "btnGo"};
  Button btnOpen{*this, "btnOpen"};
  DirList Dir1{*this, "Dir1"};
};

// The forms above, on the toolkit under test, with the user acting from inside its main loop.
class ToolkitRules : public ::testing::Test {
 protected:
  // Runs script with the outer window open; the script may end the program.
  void play(const std::function<void()>& script) {
    events.clear();
    const int status = runLoop(*user, [&](Toolkit& toolkit) {
      Ui services(toolkit);
      Inner innerForm(services);
      Outer outerForm(services, innerForm);
      ui = &services;
      inner = &innerForm;
      outer = &outerForm;
      toolkit.dispatch([&] { services.show(outerForm); });
      script();
      if (!services.ended()) toolkit.dispatch([&] { services.end(); });
      return true;
    });
    EXPECT_EQ(status, 0);
  }

  TempFolder temp;
  std::unique_ptr<ScriptedUser> user = makeScriptedUser();
  Ui* ui = nullptr;
  Inner* inner = nullptr;
  Outer* outer = nullptr;
};

TEST_F(ToolkitRules, AWindowsLayoutKeysFolderListAndFailures) {
  for (const char* name : {"apple", "Banana", "cherry", "Berry"})
    makeFolders(temp / name);
  writeFile(temp / "file");
  play([&] {
    EXPECT_EQ(user->caption("frmOuter"), "Outer");
    // Laid out from the table in twips.
    const ControlFacts go = user->facts("frmOuter", "btnGo");
    EXPECT_EQ((std::vector<int>{go.x, go.y, go.width, go.height}),
              (std::vector<int>{228, 48, 77, 17}));
    EXPECT_EQ(go.tooltip, "Go somewhere");
    // The label cannot take the focus, so the first box in the tab order has it.
    EXPECT_TRUE(user->facts("frmOuter", "txtName").focused);
    EXPECT_FALSE(user->facts("frmOuter", "txtName").multiLine);
    // Tab follows the table; Enter and Esc press no button; Space presses the focused one.
    user->press("frmOuter", "txtName", Key::Tab);
    EXPECT_TRUE(user->facts("frmOuter", "btnGo").focused);
    user->press("frmOuter", "btnGo", Key::Enter);
    user->press("frmOuter", "btnGo", Key::Escape);
    EXPECT_TRUE(user->isOpen("frmOuter"));
    outer->target = temp.path();
    user->press("frmOuter", "btnGo", Key::Space);
    // Setting a list's path raises Change before the call returns, and only on a move.
    user->click("frmOuter", "btnGo");
    // A click selects a folder, typing finds one, and Enter or a double click opens it.
    user->selectFolder("frmOuter", "Dir1", temp / "Banana");
    EXPECT_EQ(user->selectedFolder("frmOuter", "Dir1"), temp / "Banana");
    user->keys("frmOuter", "Dir1", "ch");
    EXPECT_EQ(user->selectedFolder("frmOuter", "Dir1"), temp / "cherry");
    user->press("frmOuter", "Dir1", Key::Up);
    EXPECT_EQ(user->selectedFolder("frmOuter", "Dir1"), temp / "Berry");
    user->press("frmOuter", "Dir1", Key::Enter);
    user->openFolder("frmOuter", "Dir1", temp.path());
    // A failure stops the handler and is shown, and the window stays.
    outer->target = temp / "file";
    user->click("frmOuter", "btnGo");
    EXPECT_TRUE(user->enabled("frmOuter"));
    EXPECT_FALSE(ui->ended());
  });
  const std::string back = "change " + temp.path();
  EXPECT_EQ(events, (std::vector<std::string>{"go", back, "went", "go", "went",
                                              "change " + temp / "Berry", back, "go"}));
  ASSERT_EQ(user->asked().size(), 1u);
  EXPECT_EQ(user->asked()[0].title, "Oops!");
  EXPECT_EQ(user->asked()[0].flags, 0);
  EXPECT_NE(user->asked()[0].prompt.find(temp / "file"), std::string::npos);
}

TEST_F(ToolkitRules, AModalWindowHoldsTheOthersUntilItUnloadsAndEndingLeavesNone) {
  play([&] {
    inner->refuseOnce = true;
    user->whenOpens("frmInner", [&] {
      events.push_back("inner open");
      EXPECT_TRUE(user->facts("frmInner", "txtNote").multiLine);
      EXPECT_TRUE(user->facts("frmInner", "txtNote").focused);
      // The others wait, however many boxes open and close above: no clicks and no close.
      user->toolkit().dispatch([&] { ui->msgBox("Above", kOkOnly, "Box"); });
      EXPECT_FALSE(user->enabled("frmOuter"));
      user->click("frmOuter", "btnGo");
      user->close("frmOuter");
      // In a multi-line box, Esc closes nothing and Enter starts a new line.
      user->type("frmInner", "txtNote", "a");
      user->press("frmInner", "txtNote", Key::Escape);
      user->press("frmInner", "txtNote", Key::Enter);
      EXPECT_EQ(user->text("frmInner", "txtNote"), "a\n");
      // The close box obeys QueryUnload's cancel.
      user->close("frmInner");
      EXPECT_TRUE(user->isOpen("frmInner"));
      user->close("frmInner");
    });
    user->click("frmOuter", "btnOpen");
    EXPECT_TRUE(user->enabled("frmOuter"));
    EXPECT_FALSE(inner->loaded());
    // Members outlive the unload; a control used while unloaded loads the form again, empty.
    EXPECT_EQ(inner->kept, "a\n");
    EXPECT_EQ(inner->txtNote.text(), "");
    // Ending from a nested loop returns from the main loop, with no window left.
    user->whenOpens("frmInner", [&] { user->toolkit().dispatch([&] { ui->end(); }); });
    user->click("frmOuter", "btnOpen");
    EXPECT_TRUE(ui->ended());
    EXPECT_FALSE(user->anyWindowShown());
    EXPECT_FALSE(outer->loaded());
  });
  EXPECT_EQ(events, (std::vector<std::string>{"inner load", "inner open", "inner closed",
                                              "inner closed", "returned", "inner load"}));
}

TEST(MessageText, LongLinesBreakAtSpacesThenSeparatorsThenAnywhere) {
  const auto letters = [](std::string_view text) {
    int count = 0;
    for (const char c : text)
      count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
  };
  const std::vector<std::pair<std::string, std::string>> cases{
      {"fits\r\n/a/b", "fits\r\n/a/b"},
      {"/aaaa/bbbb/cccc", "/aaaa/\nbbbb/cccc"},
      {"C:\\abcdefghijklmnop", "C:\\\nabcdefghij\nklmnop"},
      {"No room\r\nat all in here", "No room\r\nat all in\nhere"},
      {"\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9 is",
       "\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\n\u00e9 is"},
  };
  for (const auto& [text, shown] : cases)
    EXPECT_EQ(wrapToWidth(text, 10, letters), shown) << text;
}

}  // namespace
}  // namespace qb::test

// What every toolkit must do for the forms, run over each of them.

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/files.h"
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
    .controls =
        {
            {"txtNote", ControlKind::TextBox, "", "", {120, 120, 2700, 555}, kMultiLine},
            {"btnShut", ControlKind::Button, "Shut", "", {120, 900, 1155, 255}},
        },
};

class Inner : public Form {
 public:
  Inner(Ui& services, std::vector<std::string>& log) : Form(services, kInner), log_(log) {
    onLoad([this] { log_.push_back("inner load"); });
    onClick(btnShut.index(), [this] { ui.unload(*this); });
    onQueryUnload([this](bool& cancel, UnloadMode mode) {
      kept = txtNote.text();
      log_.push_back(mode == UnloadMode::FormControlMenu ? "inner closed" : "inner unloaded");
      cancel = refuseOnce;
      refuseOnce = false;
    });
  }
  std::string kept;
  bool refuseOnce = false;
  TextBox txtNote{*this, "txtNote"};
  Button btnShut{*this, "btnShut"};

 private:
  std::vector<std::string>& log_;
};

class Outer : public Form {
 public:
  Outer(Ui& services, Inner& inner, std::vector<std::string>& log)
      : Form(services, kOuter), inner_(inner), log_(log) {
    onChange(Dir1.index(), [this] { log_.push_back("change " + Dir1.path()); });
    onClick(btnGo.index(), [this] {
      log_.push_back("go");
      Dir1.setPath(target);
      log_.push_back("went");
    });
    onClick(btnOpen.index(), [this] {
      ui.showModal(inner_);
      log_.push_back("returned");
    });
    onQueryUnload([this](bool&, UnloadMode) { ui.end(); });
  }
  std::string target;
  TextBox txtName{*this, "txtName"};
  Button btnGo{*this, "btnGo"};
  Button btnOpen{*this, "btnOpen"};
  DirList Dir1{*this, "Dir1"};

 private:
  Inner& inner_;
  std::vector<std::string>& log_;
};

// The forms above, on the toolkit under test, with the user acting from inside its main loop.
class ToolkitRules : public ::testing::Test {
 protected:
  // Runs script with the outer window open; the script may end the program by closing it.
  void play(const std::function<void()>& script) {
    const int status = runLoop(*user, [&](Toolkit& toolkit) {
      Ui services(toolkit);
      Inner innerForm(services, log);
      Outer outerForm(services, innerForm, log);
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

  std::vector<std::string> log;
  TempFolder temp;
  std::unique_ptr<ScriptedUser> user = makeScriptedUser();
  Ui* ui = nullptr;
  Inner* inner = nullptr;
  Outer* outer = nullptr;
};

TEST_F(ToolkitRules, SettingAListsPathRaisesChangeBeforeTheCallReturnsAndOnlyOnAMove) {
  play([&] {
    outer->target = temp.path();
    user->click("frmOuter", "btnGo");
    user->click("frmOuter", "btnGo");
  });
  EXPECT_EQ(log, (std::vector<std::string>{"go", "change " + temp.path(), "went", "go", "went"}));
}

TEST_F(ToolkitRules, AFailureStopsTheHandlerAndIsShownWhileTheWindowStays) {
  writeFile(temp / "file");
  play([&] {
    outer->target = temp / "file";
    user->click("frmOuter", "btnGo");
    EXPECT_TRUE(user->isOpen("frmOuter"));
    EXPECT_TRUE(user->enabled("frmOuter"));
    EXPECT_FALSE(ui->ended());
  });
  EXPECT_EQ(log, std::vector<std::string>{"go"});
  ASSERT_EQ(user->asked().size(), 1u);
  EXPECT_EQ(user->asked()[0].title, "Oops!");
  EXPECT_EQ(user->asked()[0].flags, 0);
  EXPECT_NE(user->asked()[0].prompt.find(temp / "file"), std::string::npos);
}

TEST_F(ToolkitRules, AModalShowReturnsOnlyAfterUnloadWhileTheOtherWindowsWait) {
  play([&] {
    user->whenOpens("frmInner", [&] {
      log.push_back("inner open");
      EXPECT_FALSE(user->enabled("frmOuter"));
      // A window that waits takes no clicks and no close.
      user->click("frmOuter", "btnGo");
      user->close("frmOuter");
      user->type("frmInner", "txtNote", "first\nsecond");
      user->click("frmInner", "btnShut");
    });
    user->click("frmOuter", "btnOpen");
    EXPECT_TRUE(user->enabled("frmOuter"));
    EXPECT_FALSE(inner->loaded());
    // Members outlive the unload; a control used while unloaded loads the form again, empty.
    EXPECT_EQ(inner->kept, "first\nsecond");
    EXPECT_EQ(inner->txtNote.text(), "");
    EXPECT_FALSE(ui->ended());
  });
  EXPECT_EQ(log, (std::vector<std::string>{"inner load", "inner open", "inner unloaded", "returned",
                                           "inner load"}));
}

TEST_F(ToolkitRules, TheCloseBoxUnloadsUnlessQueryUnloadCancels) {
  play([&] {
    inner->refuseOnce = true;
    user->whenOpens("frmInner", [&] {
      user->close("frmInner");
      EXPECT_TRUE(user->isOpen("frmInner"));
      user->close("frmInner");
    });
    user->click("frmOuter", "btnOpen");
  });
  EXPECT_EQ(log,
            (std::vector<std::string>{"inner load", "inner closed", "inner closed", "returned"}));
}

TEST_F(ToolkitRules, EndingFromANestedLoopStopsTheMainLoopAndLeavesNoWindow) {
  play([&] {
    user->whenOpens("frmInner", [&] {
      // The outer window waits: its close box cannot end the program now.
      user->close("frmOuter");
      EXPECT_TRUE(user->isOpen("frmOuter"));
      user->toolkit().dispatch([&] { ui->end(); });
    });
    user->click("frmOuter", "btnOpen");
    EXPECT_TRUE(ui->ended());
    EXPECT_FALSE(user->anyWindowShown());
    EXPECT_FALSE(outer->loaded());
  });
  EXPECT_EQ(log, (std::vector<std::string>{"inner load"}));
}

TEST_F(ToolkitRules, WindowsAreLaidOutFromTheirTablesInTwipsWithTheFocusInTabOrder) {
  play([&] {
    EXPECT_EQ(user->caption("frmOuter"), "Outer");
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
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(user->isOpen("frmOuter"));
    outer->target = temp.path();
    user->press("frmOuter", "btnGo", Key::Space);
    EXPECT_EQ(log.front(), "go");
    user->whenOpens("frmInner", [&] {
      EXPECT_TRUE(user->facts("frmInner", "txtNote").multiLine);
      EXPECT_TRUE(user->facts("frmInner", "txtNote").focused);
      // In a multi-line box, Esc closes nothing and Enter starts a new line.
      user->type("frmInner", "txtNote", "a");
      user->press("frmInner", "txtNote", Key::Escape);
      user->press("frmInner", "txtNote", Key::Enter);
      EXPECT_EQ(user->text("frmInner", "txtNote"), "a\n");
      user->close("frmInner");
    });
    user->click("frmOuter", "btnOpen");
  });
}

TEST_F(ToolkitRules, AFolderListSelectsOnAClickAndOpensOnADoubleClickOrEnter) {
  for (const char* name : {"apple", "Banana", "cherry", "Berry"})
    makeFolders(temp / name);
  play([&] {
    outer->target = temp.path();
    user->click("frmOuter", "btnGo");
    log.clear();
    user->selectFolder("frmOuter", "Dir1", temp / "Banana");
    EXPECT_EQ(user->selectedFolder("frmOuter", "Dir1"), temp / "Banana");
    user->keys("frmOuter", "Dir1", "ch");
    EXPECT_EQ(user->selectedFolder("frmOuter", "Dir1"), temp / "cherry");
    user->press("frmOuter", "Dir1", Key::Up);
    EXPECT_EQ(user->selectedFolder("frmOuter", "Dir1"), temp / "Berry");
    EXPECT_TRUE(log.empty());
    user->press("frmOuter", "Dir1", Key::Enter);
    user->openFolder("frmOuter", "Dir1", temp.path());
  });
  EXPECT_EQ(log, (std::vector<std::string>{"change " + temp / "Berry", "change " + temp.path()}));
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

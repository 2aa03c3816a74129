// What every toolkit must do for the forms, run over each of them.

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/files.h"
#include "platform/ui.h"
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

class ToolkitRules : public ::testing::Test {
 protected:
  ToolkitRules() {
    user->toolkit().dispatch([this] { ui.show(outer); });
  }
  std::vector<std::string> log;
  TempFolder temp;
  std::unique_ptr<ScriptedUser> user = makeScriptedUser();
  Ui ui{user->toolkit()};
  Inner inner{ui, log};
  Outer outer{ui, inner, log};
};

TEST_F(ToolkitRules, SettingAListsPathRaisesChangeBeforeTheCallReturnsAndOnlyOnAMove) {
  outer.target = temp.path();
  user->click("frmOuter", "btnGo");
  user->click("frmOuter", "btnGo");
  EXPECT_EQ(log, (std::vector<std::string>{"go", "change " + temp.path(), "went", "go", "went"}));
}

TEST_F(ToolkitRules, AFailureStopsTheHandlerAndIsShownWhileTheWindowStays) {
  writeFile(temp / "file");
  outer.target = temp / "file";
  user->click("frmOuter", "btnGo");
  EXPECT_EQ(log, std::vector<std::string>{"go"});
  ASSERT_EQ(user->asked().size(), 1u);
  EXPECT_EQ(user->asked()[0].title, "Oops!");
  EXPECT_EQ(user->asked()[0].flags, 0);
  EXPECT_NE(user->asked()[0].prompt.find(temp / "file"), std::string::npos);
  EXPECT_TRUE(user->isOpen("frmOuter"));
  EXPECT_FALSE(ui.ended());
}

TEST_F(ToolkitRules, AModalShowReturnsOnlyAfterUnloadWhileTheOtherWindowsWait) {
  user->whenOpens("frmInner", [&] {
    log.push_back("inner open");
    EXPECT_FALSE(user->enabled("frmOuter"));
    user->type("frmInner", "txtNote", "first\nsecond");
    user->click("frmInner", "btnShut");
  });
  user->click("frmOuter", "btnOpen");
  EXPECT_EQ(log,
            (std::vector<std::string>{"inner load", "inner open", "inner unloaded", "returned"}));
  EXPECT_TRUE(user->enabled("frmOuter"));
  EXPECT_FALSE(inner.loaded());
  // Members outlive the unload; a control used while unloaded loads the form again, empty.
  EXPECT_EQ(inner.kept, "first\nsecond");
  EXPECT_EQ(inner.txtNote.text(), "");
  EXPECT_EQ(log.back(), "inner load");
}

TEST_F(ToolkitRules, TheCloseBoxUnloadsUnlessQueryUnloadCancels) {
  inner.refuseOnce = true;
  user->whenOpens("frmInner", [&] {
    user->close("frmInner");
    EXPECT_TRUE(user->isOpen("frmInner"));
    user->close("frmInner");
  });
  user->click("frmOuter", "btnOpen");
  EXPECT_EQ(log,
            (std::vector<std::string>{"inner load", "inner closed", "inner closed", "returned"}));
}

TEST_F(ToolkitRules, EndingStopsEverythingAtOnce) {
  user->close("frmOuter");
  EXPECT_TRUE(ui.ended());
  EXPECT_FALSE(user->isOpen("frmOuter"));
  EXPECT_FALSE(outer.loaded());
}

TEST_F(ToolkitRules, WindowsAreLaidOutFromTheirTablesInTwips) {
  EXPECT_EQ(user->caption("frmOuter"), "Outer");
  const ControlFacts go = user->facts("frmOuter", "btnGo");
  EXPECT_EQ((std::vector<int>{go.x, go.y, go.width, go.height}),
            (std::vector<int>{228, 48, 77, 17}));
  EXPECT_EQ(go.tooltip, "Go somewhere");
  // The label cannot take the focus, so the first box in the tab order has it.
  EXPECT_TRUE(user->facts("frmOuter", "txtName").focused);
  EXPECT_FALSE(user->facts("frmOuter", "txtName").multiLine);
  user->whenOpens("frmInner", [&] {
    EXPECT_TRUE(user->facts("frmInner", "txtNote").multiLine);
    EXPECT_TRUE(user->facts("frmInner", "txtNote").focused);
    user->close("frmInner");
  });
  user->click("frmOuter", "btnOpen");
}

}  // namespace
}  // namespace qb::test

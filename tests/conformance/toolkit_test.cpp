// What every toolkit must do for the forms, run over each of them.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <utility>

#include "platform/files.h"
#include "platform/frontend/wrap.h"
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
            // clang-format off
            {"lblName",    ControlKind::Label,     "Name", "",             {120, 60, 1065, 195},    kAutoSize},
            {"txtName",    ControlKind::TextBox,   "",     "",             {120, 300, 4455, 285},   0, Picture::None, "Name"},
            {"btnGo",      ControlKind::Button,    "Go",   "Go somewhere", {3420, 720, 1155, 255}},
            {"Dir1",       ControlKind::DirList,   "",     "",             {120, 720, 3000, 1600},  0, Picture::None, "Folders"},
            {"Drive1",     ControlKind::DriveList, "",     "",             {120, 2400, 3000, 315},  0, Picture::None, "Drive"},
            {"btnPicture", ControlKind::Button,    "",     "Open",         {3420, 1020, 675, 675},  0, Picture::Desktop},
            // clang-format on
        },
};

std::vector<std::string> events;  // what the form's handlers did, in order

class Outer : public Form {
 public:
  explicit Outer(Ui& services) : Form(services, kOuter) {
    onChange(Dir1.index(), [this] { events.push_back("change " + Dir1.path()); });
    onClick(btnGo.index(), [this] {
      events.push_back("go");
      Dir1.setPath(target);
      events.push_back("went");
    });
    onQueryUnload([this](bool& cancel, UnloadMode mode) {
      events.push_back(mode == UnloadMode::FormControlMenu ? "closed" : "unloaded");
      cancel = std::exchange(refuseOnce, false);
      if (!cancel) ui.end();
    });
  }
  std::string target;
  bool refuseOnce = false;
  Button btnGo{*this, "btnGo"};
  DirList Dir1{*this, "Dir1"};
};

// The form above, on the toolkit under test, with the user acting from inside its main loop.
class ToolkitRules : public ::testing::Test {
 protected:
  // Runs script with the window open; the script may end the program.
  void play(const std::function<void()>& script) {
    events.clear();
    const int status = runLoop(*user, [&](Toolkit& toolkit) {
      Ui services(toolkit);
      Outer outerForm(services);
      ui = &services;
      outer = &outerForm;
      toolkit.dispatch([&] { services.show(outerForm); });
      script();
      // Left the way a user leaves it.
      if (!services.ended()) user->close("frmOuter");
      return services.ended();
    });
    EXPECT_EQ(status, 0);
  }

  TempFolder temp;
  std::unique_ptr<ScriptedUser> user = makeScriptedUser();
  Ui* ui = nullptr;
  Outer* outer = nullptr;
};

// One test a promise of the seam, so that a new front end's author reads which one failed.

TEST_F(ToolkitRules, ControlsAreLaidOutFromTwipsAndNamedForScreenReaders) {
  play([&] {
    // Twips at 96 dots per inch, times one factor for the whole window: 1, or more where the
    // desktop's font needs more room than the table gives.
    const ControlFacts go = user->facts("frmOuter", "btnGo");
    const double factor = go.width / (1155 / 15.0);
    EXPECT_GE(factor, 0.99);
    for (const auto& [control, twips] : std::vector<std::pair<const char*, Twips>>{
             {"btnGo", {3420, 720, 1155, 255}}, {"txtName", {120, 300, 4455, 285}}}) {
      const ControlFacts at = user->facts("frmOuter", control);
      const std::vector<double> expected{twips.left * factor / 15, twips.top * factor / 15,
                                         twips.width * factor / 15, twips.height * factor / 15};
      const std::vector<int> got{at.x, at.y, at.width, at.height};
      for (std::size_t i = 0; i < got.size(); ++i)
        EXPECT_NEAR(got[i], expected[i], 1.5) << control << " " << i;
    }
    EXPECT_EQ(go.tooltip, "Go somewhere");
    // A control's own name, else its caption, else its tooltip.
    const std::map<std::string, std::string> names{{"lblName", "Name"}, {"txtName", "Name"},
                                                   {"btnGo", "Go"},     {"Dir1", "Folders"},
                                                   {"Drive1", "Drive"}, {"btnPicture", "Open"}};
    for (const auto& [control, name] : names) {
#ifdef _WIN32
      // Wine reads a drop-down list's name as its choice.
      if (control == "Drive1") continue;
#endif
      EXPECT_EQ(user->facts("frmOuter", control).accessibleName, name) << control;
    }
#ifndef _WIN32
    EXPECT_EQ(user->facts("frmOuter", "").role, "Window");
    EXPECT_EQ(user->facts("frmOuter", "txtName").label, "lblName");
#endif
  });
}

// The first control that takes the focus has it; Tab follows the table; Enter and Esc press no
// button, Space presses the focused one; a box of one line takes no line break.
TEST_F(ToolkitRules, TheFocusAndTheKeysFollowTheTable) {
  play([&] {
    EXPECT_TRUE(user->facts("frmOuter", "txtName").focused);
    user->type("frmOuter", "txtName", "a\nb");
    EXPECT_EQ(user->text("frmOuter", "txtName"), "ab");
    user->press("frmOuter", "txtName", Key::Tab);
    EXPECT_TRUE(user->facts("frmOuter", "btnGo").focused);
    outer->target = temp.path();
    user->press("frmOuter", "btnGo", Key::Enter);
    user->press("frmOuter", "btnGo", Key::Escape);
    EXPECT_TRUE(events.empty());
    user->press("frmOuter", "btnGo", Key::Space);
    EXPECT_EQ(events.front(), "go");
  });
}

TEST_F(ToolkitRules, SettingAListsPathRaisesChangeBeforeItReturnsAndOnlyOnAMove) {
  play([&] {
    outer->target = temp.path();
    user->click("frmOuter", "btnGo");
    user->click("frmOuter", "btnGo");
  });
  EXPECT_EQ(events, (std::vector<std::string>{"go", "change " + temp.path(), "went", "go", "went",
                                              "closed"}));
}

// A click selects a folder, typing finds one, Up moves, and Enter or a double click opens.
TEST_F(ToolkitRules, AFolderListOpensWhatIsChosenByMouseOrKeys) {
  for (const char* name : {"apple", "Banana", "cherry", "Berry"})
    makeFolders(temp / name);
  play([&] {
    outer->target = temp.path();
    user->click("frmOuter", "btnGo");
    events.clear();
    // A reader hears which rows are the path down to the folder, and how deep each row is.
    const std::vector<std::string> paths = user->rows("frmOuter", "Dir1"),
                                   said = user->facts("frmOuter", "Dir1").rows;
    const auto at = std::find(paths.begin(), paths.end(), temp.path()) - paths.begin();
    ASSERT_EQ(said.size(), paths.size());
    const std::string name = temp.path().substr(temp.path().rfind(files::kSeparator) + 1);
#ifdef _WIN32
    // Windows' own list view names each row by its text, and shows its level by its indent.
    EXPECT_EQ(said[at], name);
    EXPECT_EQ(said[at + 1], "apple");
#else
    EXPECT_EQ(said[at], name + ", open folder, level " + std::to_string(at + 1));
    EXPECT_EQ(said[at + 1], "apple, folder, level " + std::to_string(at + 2));
#endif
    user->clickFolder("frmOuter", "Dir1", temp / "Banana", false);
    user->keys("frmOuter", "Dir1", "ch");
#ifndef _WIN32
    EXPECT_TRUE(user->facts("frmOuter", "Dir1").rowOutlined);
#endif
    user->press("frmOuter", "Dir1", Key::Up);
    user->press("frmOuter", "Dir1", Key::Enter);
    user->openFolder("frmOuter", "Dir1", temp.path());
  });
  EXPECT_EQ(events, (std::vector<std::string>{"change " + temp / "Berry", "change " + temp.path(),
                                              "closed"}));
}

TEST_F(ToolkitRules, TheCloseBoxAsksTheFormFirstAndObeysACancel) {
  play([&] {
    outer->refuseOnce = true;
    user->close("frmOuter");
    EXPECT_TRUE(user->isOpen("frmOuter"));
    user->close("frmOuter");
    EXPECT_TRUE(ui->ended());
    EXPECT_FALSE(user->anyWindowShown());
  });
  EXPECT_EQ(events, (std::vector<std::string>{"closed", "closed"}));
}

// Modal windows nest: the windows under one take no input until it is unloaded, one under two
// until the outermost ends; a box leaves its owner to the box to disable, the others wait.
TEST_F(ToolkitRules, ModalWindowsNestAndWhatIsUnderThemWaitsUntilTheOutermostEnds) {
  const auto dialog = [](const char* name) {
    WindowSpec spec;
    spec.name = spec.caption = name;
    spec.clientWidth = spec.clientHeight = 1440;
    return spec;
  };
  const WindowSpec firstSpec = dialog("frmFirst"), secondSpec = dialog("frmSecond");
  play([&] {
    Form first(*ui, firstSpec), second(*ui, secondSpec);
    const auto waiting = [&](std::vector<bool> expected) {
      std::vector<bool> taking;
      for (const char* window : {"frmOuter", "frmFirst", "frmSecond"})
        taking.push_back(user->isOpen(window) && user->enabled(window));
      EXPECT_EQ(taking, expected);
    };
    user->whenOpens("frmFirst", [&] {
      waiting({false, true, false});
      user->whenOpens("frmSecond", [&] {
        waiting({false, false, true});
        user->whenAsked([&] { waiting({false, false, true}); });
        user->toolkit().dispatch([&] { ui->msgBox("Asked", kOkOnly, "Box"); });
        user->close("frmSecond");
      });
      user->toolkit().dispatch([&] { ui->showModal(second); });
      waiting({false, true, false});
      user->close("frmFirst");
    });
    user->toolkit().dispatch([&] { ui->showModal(first); });
    waiting({true, false, false});
  });
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

  // Too many lines for the screen: the path is shortened in its middle, the rest stays whole.
  const std::string deep = "/" + std::string(400, 'a') + "/" + std::string(400, 'b') + "/end";
  const std::string fitted = fitToBox("Really create:\r\n" + deep + "/New ?", 40, 8, letters);
  EXPECT_LE(std::count(fitted.begin(), fitted.end(), '\n'), 7) << fitted;
  EXPECT_EQ(fitted.rfind("Really create:\r\n/\naaaa", 0), 0u) << fitted;
  EXPECT_NE(fitted.find("\u2026"), std::string::npos) << fitted;
  EXPECT_EQ(fitted.substr(fitted.size() - 11), "b/end/New ?") << fitted;
  EXPECT_EQ(fitToBox("fits\r\n/a/b", 40, 2, letters), "fits\r\n/a/b");
}

}  // namespace
}  // namespace qb::test

// What only the Win32 front end shows: the folder list's keys and clicks, the dialog keys,
// window frames, owners and placement, and the message and input boxes.

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "platform/files.h"
#include "platform/win32/DirListBox.h"
#include "platform/win32/Win32Toolkit.h"
#include "platform/win32/Win32Window.h"
#include "platform/win32/text.h"
#include "tests/support/Disk.h"
#include "tests/support/ScriptedUser.h"
#include "wizard/Quenbrook.h"

namespace qb::test {
namespace {

using win32::Win32Toolkit;
using win32::Win32Window;

// Handles what is queued now, as the program's loop would.
void handleQueued(Toolkit& toolkit) {
  toolkit.runUntil([] {
    MSG message;
    return !PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
  });
}

// Keys as the keyboard sends them: posted to the focused control and handled by the loop, so
// that the dialog keys see them first and the loop makes the characters typed.
void postKey(HWND target, UINT key) {
  const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
  PostMessageW(target, WM_KEYDOWN, key, 1 | scan);
  PostMessageW(target, WM_KEYUP, key, 1 | scan | LPARAM{3} << 30);
}

// Records what a test window reports.
class Recorder : public WindowEvents {
 public:
  std::function<void(int)> onChanged = [](int) {};
  std::vector<int> clicks;
  int closes = 0;
  void clicked(int control) override { clicks.push_back(control); }
  void changed(int control) override { onChanged(control); }
  void closeRequested() override { ++closes; }
};

const WindowSpec kFolders{
    .name = "frmFolders",
    .caption = "Folders",
    .clientWidth = 4800,
    .clientHeight = 6300,
    .controls = {{"Dir1", ControlKind::DirList, "", "", {120, 120, 4500, 6000}}},
};

class Win32FolderList : public ::testing::Test {
 protected:
  Win32FolderList() {
    for (const char* name : {"apple", "Banana", "cherry", "Berry"})
      makeFolders(temp / name);
    events.onChanged = [this](int control) { opened.push_back(window->dirPath(control)); };
    window = toolkit.createWindow(kFolders, events);
    window->show(nullptr);
    window->setDirPath(0, temp.path());
    list = static_cast<Win32Window&>(*window).dirList("Dir1");
    list->ensureListed();
    box = list->hwnd();
    row0 = static_cast<int>(files::ancestors(temp.path()).size());
  }

  LPARAM centreOf(int row) {
    RECT item{};
    SendMessageW(box, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
  }
  std::string selected() {
    return list->pathOfRow(static_cast<int>(SendMessageW(box, LB_GETCURSEL, 0, 0)));
  }

  TempFolder temp;
  Win32Toolkit toolkit;
  Recorder events;
  std::vector<std::string> opened;
  std::unique_ptr<LiveWindow> window;
  win32::DirListBox* list = nullptr;
  HWND box = nullptr;
  int row0 = 0;  // the first subfolder's row
};

TEST_F(Win32FolderList, ASingleClickSelectsAndADoubleClickOpens) {
  SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, centreOf(row0 + 1));
  SendMessageW(box, WM_LBUTTONUP, 0, centreOf(row0 + 1));
  EXPECT_EQ(selected(), temp / "Banana");
  EXPECT_TRUE(opened.empty());
  SendMessageW(box, WM_LBUTTONDBLCLK, MK_LBUTTON, centreOf(row0 + 1));
  SendMessageW(box, WM_LBUTTONUP, 0, centreOf(row0 + 1));
  EXPECT_EQ(opened, std::vector<std::string>{temp / "Banana"});
  handleQueued(toolkit);
  EXPECT_EQ(list->rowCount(), row0 + 1);
}

TEST_F(Win32FolderList, ArrowKeysAndTypingMoveTheSelectionAndEnterOpens) {
  SetFocus(box);
  postKey(box, 'C');
  postKey(box, 'H');
  handleQueued(toolkit);
  EXPECT_EQ(selected(), temp / "cherry");
  postKey(box, VK_UP);
  handleQueued(toolkit);
  EXPECT_EQ(selected(), temp / "Berry");
  EXPECT_TRUE(opened.empty());
  postKey(box, VK_RETURN);
  handleQueued(toolkit);
  EXPECT_EQ(opened, std::vector<std::string>{temp / "Berry"});
}

TEST_F(Win32FolderList, TypingTheSameLetterAgainMovesToTheNextFolderWithIt) {
  SetFocus(box);
  postKey(box, 'B');
  handleQueued(toolkit);
  EXPECT_EQ(selected(), temp / "Banana");
  postKey(box, 'B');
  handleQueued(toolkit);
  EXPECT_EQ(selected(), temp / "Berry");
  Sleep(1100);  // a pause starts a new search
  postKey(box, 'A');
  handleQueued(toolkit);
  EXPECT_EQ(selected(), temp / "apple");
}

const WindowSpec kKeys{
    .name = "frmKeys",
    .caption = "Keys",
    .clientWidth = 4800,
    .clientHeight = 1500,
    .controls =
        {
            {"lblName", ControlKind::Label, "Name", "", {120, 60, 1065, 195}, kAutoSize},
            {"txtName", ControlKind::TextBox, "", "", {120, 300, 4455, 285}},
            {"btnOne", ControlKind::Button, "One", "", {120, 720, 1155, 255}},
            {"btnTwo", ControlKind::Button, "Two", "", {1420, 720, 1155, 255}},
        },
};

TEST(Win32Keys, TabFollowsTheTableAndEnterAndEscPressNoButton) {
  Win32Toolkit toolkit;
  Recorder events;
  auto window = toolkit.createWindow(kKeys, events);
  window->show(nullptr);
  auto& live = static_cast<Win32Window&>(*window);
  EXPECT_EQ(GetFocus(), live.controlWindow("txtName"));
  postKey(GetFocus(), VK_TAB);
  handleQueued(toolkit);
  EXPECT_EQ(GetFocus(), live.controlWindow("btnOne"));
  postKey(GetFocus(), VK_TAB);
  handleQueued(toolkit);
  EXPECT_EQ(GetFocus(), live.controlWindow("btnTwo"));
  postKey(GetFocus(), VK_RETURN);
  postKey(GetFocus(), VK_ESCAPE);
  handleQueued(toolkit);
  EXPECT_TRUE(events.clicks.empty());
  EXPECT_EQ(events.closes, 0);
  // Space presses the focused button, as everywhere.
  postKey(GetFocus(), VK_SPACE);
  handleQueued(toolkit);
  EXPECT_EQ(events.clicks, std::vector<int>{3});
  // The label is as wide as its caption, not as the table says.
  RECT label{};
  GetWindowRect(live.controlWindow("lblName"), &label);
  EXPECT_LT(label.right - label.left, win32::pixelsOfTwips(1065, live.dpi()));
  EXPECT_GT(label.right - label.left, 0);
}

HWND windowNamed(Toolkit& toolkit, const std::string& name) {
  for (Win32Window* window : static_cast<Win32Toolkit&>(toolkit).windows()) {
    if (IsWindowVisible(window->hwnd()) && window->spec().name == name) return window->hwnd();
  }
  return nullptr;
}

POINT centre(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

void expectFixedDialogFrame(HWND window) {
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  const LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX));
  EXPECT_TRUE(exStyle & WS_EX_DLGMODALFRAME);
  EXPECT_TRUE(SendMessageW(window, WM_GETICON, ICON_BIG, 0));
  EXPECT_TRUE(SendMessageW(window, WM_GETICON, ICON_SMALL, 0));
}

TEST(Win32Windows, StepOneIsInTheTaskbarAndThePickerSitsCentredOverIt) {
  auto user = makeScriptedUser();
  Quenbrook program(user->toolkit());
  user->toolkit().dispatch([&] { program.start(); });
  const HWND step1 = windowNamed(user->toolkit(), "frmMain");
  ASSERT_TRUE(step1);
  expectFixedDialogFrame(step1);
  EXPECT_TRUE(GetWindowLongW(step1, GWL_EXSTYLE) & WS_EX_APPWINDOW);
  EXPECT_FALSE(GetWindow(step1, GW_OWNER));
  // Centred on the primary monitor's work area.
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_LE(std::abs(centre(step1).x - (work.left + work.right) / 2), 2);
  EXPECT_LE(std::abs(centre(step1).y - (work.top + work.bottom) / 2), 2);
  bool pickerSeen = false;
  user->whenOpens("frmGetFolder", [&] {
    const HWND picker = windowNamed(user->toolkit(), "frmGetFolder");
    ASSERT_TRUE(picker);
    pickerSeen = true;
    expectFixedDialogFrame(picker);
    EXPECT_FALSE(GetWindowLongW(picker, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_EQ(GetWindow(picker, GW_OWNER), step1);
    EXPECT_LE(std::abs(centre(picker).x - centre(step1).x), 2);
    EXPECT_LE(std::abs(centre(picker).y - centre(step1).y), 2);
    EXPECT_FALSE(IsWindowEnabled(step1));
    EXPECT_EQ(GetActiveWindow(), picker);
    user->close("frmGetFolder");
  });
  user->type("frmMain", "Text1", "ignored: the box is read-only");
  EXPECT_EQ(user->text("frmMain", "Text1"), "");
  user->toolkit().dispatch([&] { program.ui.showModal(program.getFolder); });
  EXPECT_TRUE(pickerSeen);
  // Back to step 1, which takes input again.
  EXPECT_TRUE(IsWindowEnabled(step1));
  EXPECT_EQ(GetActiveWindow(), step1);
}

// What to do in the box that the next call opens, from that box's own loop.
std::function<void(HWND)> inBox;

void CALLBACK boxOpened(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  const HWND box = GetActiveWindow();
  ASSERT_TRUE(box);
  inBox(box);
}

void whenBoxOpens(std::function<void(HWND)> action) {
  inBox = std::move(action);
  SetTimer(nullptr, 0, 50, boxOpened);
}

TEST(Win32Boxes, AQuestionHasYesAndNoAndAPlainMessageOnlyOk) {
  Win32Toolkit toolkit;
  struct Seen {
    bool yes, no, ok;
    std::string title;
  };
  std::vector<Seen> seen;
  const auto pressLater = [&](int button) {
    whenBoxOpens([&seen, button](HWND box) {
      seen.push_back({GetDlgItem(box, IDYES) != nullptr, GetDlgItem(box, IDNO) != nullptr,
                      GetDlgItem(box, IDOK) != nullptr, win32::utf8(win32::windowText(box))});
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
    });
  };
  pressLater(IDYES);
  EXPECT_EQ(toolkit.messageBox("Really?", kYesNo | kQuestion, "Query!"), kYes);
  pressLater(IDNO);
  EXPECT_EQ(toolkit.messageBox("Really?", kYesNo | kQuestion, "Query!"), kNo);
  pressLater(IDOK);
  EXPECT_EQ(toolkit.messageBox("Done", kOkOnly, "Good news!"), kOk);
  ASSERT_EQ(seen.size(), 3u);
  for (int i = 0; i < 2; ++i) {
    EXPECT_TRUE(seen[i].yes && seen[i].no && !seen[i].ok) << i;
    EXPECT_EQ(seen[i].title, "Query!");
  }
  EXPECT_TRUE(!seen[2].yes && !seen[2].no && seen[2].ok);
  EXPECT_EQ(seen[2].title, "Good news!");
}

TEST(Win32Boxes, TheInputBoxTakesEnterAsOkAndEscapeAsCancel) {
  Win32Toolkit toolkit;
  const auto answerLater = [](const wchar_t* text, UINT key) {
    whenBoxOpens([text, key](HWND box) {
      const HWND field = GetFocus();
      ASSERT_TRUE(field);
      EXPECT_TRUE(IsChild(box, field));
      for (const wchar_t* c = text; *c; ++c)
        PostMessageW(field, WM_CHAR, *c, 1);
      postKey(field, key);
    });
  };
  answerLater(L"Docs", VK_RETURN);
  EXPECT_EQ(toolkit.inputBox("New folder name", "Create new folder"), "Docs");
  answerLater(L"Docs", VK_ESCAPE);
  EXPECT_EQ(toolkit.inputBox("New folder name", "Create new folder"), "");
  whenBoxOpens([](HWND box) { PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0); });
  EXPECT_EQ(toolkit.inputBox("New folder name", "Create new folder"), "");
}

}  // namespace
}  // namespace qb::test

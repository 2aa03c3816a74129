// The scripted user over the real Win32 front end: real windows and controls, real nested
// message loops, and input as the messages a user's mouse and keys send the controls.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <deque>

#include "platform/win32/DirListBox.h"
#include "platform/win32/Win32Toolkit.h"
#include "platform/win32/Win32Window.h"
#include "platform/win32/text.h"
#include "tests/support/ScriptedUser.h"

namespace qb::test {

namespace {

using win32::utf8;
using win32::wide;
using win32::Win32Window;

constexpr wchar_t kMessengerClass[] = L"QuenbrookTestScripts";
constexpr UINT kRunScript = WM_APP + 7;

LPARAM keyData(UINT key, bool up) {
  const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
  const bool extended = key == VK_DELETE || key == VK_UP || key == VK_DOWN;
  LPARAM data = 1 | static_cast<LPARAM>(scan) << 16 | (extended ? LPARAM{1} << 24 : 0);
  if (up) data |= LPARAM{3} << 30;
  return data;
}

void press(HWND target, UINT key) {
  SendMessageW(target, WM_KEYDOWN, key, keyData(key, false));
  SendMessageW(target, WM_KEYUP, key, keyData(key, true));
}

class Win32User : public ScriptedUser {
 public:
  Win32User() {
    toolkit_.answerBoxesWith(
        [this](const std::string& p, int f, const std::string& t) {
          return answerMessage(p, f, t);
        },
        [this](const std::string& p, const std::string& t) { return answerInput(p, t); });
    static const ATOM registered = [] {
      WNDCLASSEXW windowClass{};
      windowClass.cbSize = sizeof(windowClass);
      windowClass.lpfnWndProc = messengerProcedure;
      windowClass.hInstance = GetModuleHandleW(nullptr);
      windowClass.lpszClassName = kMessengerClass;
      return RegisterClassExW(&windowClass);
    }();
    (void)registered;
    messenger_ = CreateWindowExW(0, kMessengerClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(messenger_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    // The script runs from the window's own nested loop, as a user's clicks would.
    toolkit_.onShown = [this](const std::string& name) {
      // Only a modal window must be closed by its script: the others wait disabled under it.
      const bool modal = hasDisabledWindow();
      if (!modal && !hasScript(name)) return;
      pending_.push_back({name, modal});
      PostMessageW(messenger_, kRunScript, 0, 0);
    };
  }

  ~Win32User() override { DestroyWindow(messenger_); }

  Toolkit& toolkit() override { return toolkit_; }

  void click(const std::string& window, const std::string& control) override {
    HWND button = usable(window, control);
    if (!button) return;
    SendMessageW(button, BM_CLICK, 0, 0);
  }

  void type(const std::string& window, const std::string& control,
            const std::string& text) override {
    HWND box = usable(window, control);
    if (!box) return;
    SetFocus(box);
    SendMessageW(box, EM_SETSEL, 0, -1);
    press(box, VK_DELETE);
    for (const wchar_t unit : wide(text)) {
      if (unit == L'\n') {
        SendMessageW(box, WM_KEYDOWN, VK_RETURN, keyData(VK_RETURN, false));
        SendMessageW(box, WM_CHAR, L'\r', keyData(VK_RETURN, false));
        SendMessageW(box, WM_KEYUP, VK_RETURN, keyData(VK_RETURN, true));
      } else {
        SendMessageW(box, WM_CHAR, unit, 1);
      }
    }
  }

  void openFolder(const std::string& window, const std::string& control,
                  const std::string& path) override {
    win32::DirListBox* list = dirList(window, control);
    if (!list) return;
    const int row = list->rowOf(path);
    if (row < 0) {
      ADD_FAILURE() << path << " is not shown in " << control;
      return;
    }
    if (!usable(window, control)) return;
    const HWND box = list->hwnd();
    // Scrolled into view first, as a user would before clicking it.
    RECT client{}, item{};
    GetClientRect(box, &client);
    SendMessageW(box, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    if (item.top < client.top || item.bottom > client.bottom) {
      SendMessageW(box, LB_SETTOPINDEX, static_cast<WPARAM>(row), 0);
      SendMessageW(box, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }
    const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(box, WM_LBUTTONUP, 0, at);
    SendMessageW(box, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    if (IsWindow(box)) SendMessageW(box, WM_LBUTTONUP, 0, at);
  }

  void pickDrive(const std::string& window, const std::string& control,
                 const std::string& root) override {
    const auto listed = drives(window, control);
    const auto found = std::find(listed.begin(), listed.end(), root);
    if (found == listed.end()) {
      ADD_FAILURE() << root << " is not listed in " << control;
      return;
    }
    HWND combo = usable(window, control);
    if (!combo) return;
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(found - listed.begin()), 0);
    SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
  }

  void close(const std::string& window) override {
    if (Win32Window* top = findWindow(window)) {
      SendMessageW(top->hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    }
  }

  bool isOpen(const std::string& window) override { return findWindow(window, false); }

  std::string text(const std::string& window, const std::string& control) override {
    HWND box = find(window, control);
    return box ? utf8(win32::withoutCr(win32::windowText(box))) : "";
  }

  std::vector<std::string> rows(const std::string& window, const std::string& control) override {
    std::vector<std::string> paths;
    win32::DirListBox* list = dirList(window, control);
    if (!list) return paths;
    const int count = list->rowCount();
    for (int row = 0; row < count; ++row)
      paths.push_back(list->pathOfRow(row));
    return paths;
  }

  std::vector<std::string> drives(const std::string& window, const std::string& control) override {
    std::vector<std::string> roots;
    HWND combo = find(window, control);
    if (!combo) return roots;
    const auto count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (WPARAM i = 0; i < static_cast<WPARAM>(std::max<LRESULT>(count, 0)); ++i)
      roots.push_back(itemText(combo, i));
    return roots;
  }

  std::string selectedDrive(const std::string& window, const std::string& control) override {
    HWND combo = find(window, control);
    if (!combo) return {};
    const LRESULT row = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    return row < 0 ? std::string() : itemText(combo, static_cast<WPARAM>(row));
  }

  ControlFacts facts(const std::string& window, const std::string& control) override {
    Win32Window* top = findWindow(window);
    HWND child = find(window, control);
    if (!top || !child) return {};
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, top->hwnd(), reinterpret_cast<POINT*>(&rect), 2);
    // In pixels at 96 DPI, so that every toolkit compares alike.
    const double scale = 96.0 / win32::dpiOfWindow(top->hwnd());
    const auto at96 = [scale](LONG px) { return static_cast<int>(std::lround(px * scale)); };
    ControlFacts facts;
    facts.x = at96(rect.left);
    facts.y = at96(rect.top);
    facts.width = at96(rect.right - rect.left);
    facts.height = at96(rect.bottom - rect.top);
    wchar_t tip[1024] = L"";
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = top->hwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(child);
    tool.lpszText = tip;
    SendMessageW(top->tooltips(), TTM_GETTEXTW, std::size(tip), reinterpret_cast<LPARAM>(&tool));
    facts.tooltip = utf8(tip);
    wchar_t className[32] = L"";
    GetClassNameW(child, className, static_cast<int>(std::size(className)));
    if (lstrcmpiW(className, L"Edit") == 0) {
      const LONG style = GetWindowLongW(child, GWL_STYLE);
      facts.readOnly = style & ES_READONLY;
      facts.multiLine = style & ES_MULTILINE;
    }
    facts.focused = GetFocus() == child;
    return facts;
  }

  std::string caption(const std::string& window) override {
    Win32Window* top = findWindow(window);
    return top ? utf8(win32::windowText(top->hwnd())) : "";
  }

  bool enabled(const std::string& window) override {
    Win32Window* top = findWindow(window);
    return top && IsWindowEnabled(top->hwnd());
  }

 private:
  struct Pending {
    std::string window;
    bool modal;
  };

  static LRESULT CALLBACK messengerProcedure(HWND hwnd, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    auto* self = reinterpret_cast<Win32User*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == kRunScript && self) {
      self->runNext();
      return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }

  void runNext() {
    if (pending_.empty()) return;
    const Pending next = pending_.front();
    pending_.pop_front();
    takeScript(next.window)();
    if (next.modal && isOpen(next.window)) {
      ADD_FAILURE() << next.window << " was left open by its script";
      close(next.window);
    }
  }

  bool hasDisabledWindow() const {
    for (Win32Window* window : toolkit_.windows()) {
      if (IsWindowVisible(window->hwnd()) && !IsWindowEnabled(window->hwnd())) return true;
    }
    return false;
  }

  Win32Window* findWindow(const std::string& name, bool required = true) {
    for (Win32Window* window : toolkit_.windows()) {
      if (window->hwnd() && IsWindowVisible(window->hwnd()) && window->spec().name == name) {
        return window;
      }
    }
    if (required) ADD_FAILURE() << name << " is not open";
    return nullptr;
  }

  HWND find(const std::string& window, const std::string& control) {
    Win32Window* top = findWindow(window);
    if (!top) return nullptr;
    HWND found = top->controlWindow(control);
    if (!found) ADD_FAILURE() << window << " has no such control: " << control;
    return found;
  }

  // The control, when a user could reach it: its window is not waiting under a modal one.
  // Reaching it makes its window the active one, as a click there would.
  HWND usable(const std::string& window, const std::string& control) {
    HWND found = find(window, control);
    const HWND top = found ? GetAncestor(found, GA_ROOT) : nullptr;
    if (!found || !IsWindowEnabled(top) || !IsWindowEnabled(found)) return nullptr;
    if (GetActiveWindow() != top) SetActiveWindow(top);
    return found;
  }

  win32::DirListBox* dirList(const std::string& window, const std::string& control) {
    Win32Window* top = findWindow(window);
    if (!top) return nullptr;
    win32::DirListBox* list = top->dirList(control);
    if (!list) ADD_FAILURE() << window << " has no folder list " << control;
    return list;
  }

  static std::string itemText(HWND combo, WPARAM row) {
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, row, 0);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, row, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return utf8(text);
  }

  win32::Win32Toolkit toolkit_;
  HWND messenger_ = nullptr;
  std::deque<Pending> pending_;
};

}  // namespace

std::unique_ptr<ScriptedUser> makeScriptedUser() {
  return std::make_unique<Win32User>();
}

}  // namespace qb::test

// The scripted user over the real Win32 front end: real windows and controls, real nested
// message loops, and input as the messages a user's mouse and keys send the controls.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <oleacc.h>
#include <shlobj.h>

#include <algorithm>
#include <cmath>
#include <cwctype>
#include <map>

#include "platform/win32/DirListView.h"
#include "platform/win32/Win32Toolkit.h"
#include "platform/win32/Win32Window.h"
#include "platform/win32/text.h"
#include "tests/support/ScriptedUser.h"

namespace qb::test {

namespace {

using win32::Win32Window;

constexpr wchar_t kAccessibility[] = L"Software\\Microsoft\\Accessibility";

// A key pressed and let go, posted as the keyboard sends keys to the loop.
void key(HWND target, UINT key) {
  const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
  const LPARAM data = 1 | scan | (key == VK_UP || key == VK_DOWN ? LPARAM{1} << 24 : 0);
  PostMessageW(target, WM_KEYDOWN, key, data);
  PostMessageW(target, WM_KEYUP, key, data | LPARAM{3} << 30);
}

class Win32User : public ScriptedUser {
 public:
  ~Win32User() override {
    if (!desktop_.cbSize) return;
    SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof(desktop_), &desktop_, 0);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kAccessibility, L"TextScaleFactor");
  }

  void click(const std::string& window, const std::string& control) override {
    if (HWND button = usable(window, control)) SendMessageW(button, BM_CLICK, 0, 0);
  }

  void type(const std::string& window, const std::string& control,
            const std::string& text) override {
    HWND box = usable(window, control);
    if (!box) return;
    SetFocus(box);
    // The characters typed, as the loop makes them from keys: a backspace first clears the
    // selection, and Enter types a carriage return.
    SendMessageW(box, EM_SETSEL, 0, -1);
    SendMessageW(box, WM_CHAR, VK_BACK, 1);
    for (const wchar_t unit : windows::wide(text))
      SendMessageW(box, WM_CHAR, unit == L'\n' ? L'\r' : unit, 1);
  }

  void keys(const std::string& window, const std::string& control,
            const std::string& text) override {
    std::vector<UINT> codes;
    for (const wchar_t unit : windows::wide(text))
      codes.push_back(static_cast<UINT>(std::towupper(unit)));
    post(window, control, codes);
  }

  void press(const std::string& window, const std::string& control, Key key) override {
    static const std::map<Key, UINT> kKeys{{Key::Up, VK_UP},        {Key::Down, VK_DOWN},
                                           {Key::Enter, VK_RETURN}, {Key::Escape, VK_ESCAPE},
                                           {Key::Tab, VK_TAB},      {Key::Space, VK_SPACE}};
    post(window, control, {kKeys.at(key)});
  }

  void clickFolder(const std::string& window, const std::string& control, const std::string& path,
                   bool twice) override {
    win32::DirListView* list = shownList(window, control);
    const int row = list ? list->rowOf(path) : -1;
    if (list && row < 0) ADD_FAILURE() << path << " is not shown in " << control;
    if (row < 0 || !usable(window, control)) return;
    // Scrolled into view, and clicked where a user would: posted, as the mouse sends them.
    const HWND box = list->hwnd();
    SendMessageW(box, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
    RECT item{};
    item.left = LVIR_LABEL;
    SendMessageW(box, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    PostMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(box, WM_LBUTTONUP, 0, at);
    if (twice) {
      PostMessageW(box, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
      PostMessageW(box, WM_LBUTTONUP, 0, at);
    }
    settle();
  }

  void pickDrive(const std::string& window, const std::string& control,
                 const std::string& root) override {
    const auto listed = facts(window, control).rows;
    const auto found = std::find(listed.begin(), listed.end(), root);
    if (found == listed.end()) ADD_FAILURE() << root << " is not listed in " << control;
    HWND combo = found == listed.end() ? nullptr : usable(window, control);
    if (!combo) return;
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(found - listed.begin()), 0);
    SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
  }

  void close(const std::string& window) override {
    if (const HWND top = hwnd(window)) SendMessageW(top, WM_SYSCOMMAND, SC_CLOSE, 0);
  }

  // As the shell hands a drop over: the paths one after another, the list ending in two nulls.
  // The shell copies what it hands over this way: the source is told so, whatever the window does.
  std::string drop(const std::string& window, const std::vector<std::string>& paths) override {
    const HWND top = hwnd(window);
    if (!top) return {};
    std::wstring list;
    for (const std::string& path : paths)
      list += windows::wide(path) + L'\0';
    list += L'\0';
    HGLOBAL handle = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(GlobalLock(handle));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::copy(list.begin(), list.end(), reinterpret_cast<wchar_t*>(header + 1));
    GlobalUnlock(handle);
    SendMessageW(top, WM_DROPFILES, reinterpret_cast<WPARAM>(handle), 0);
    return "copy";
  }

  std::string text(const std::string& window, const std::string& control) override {
    HWND box = find(window, control);
    return box ? windows::utf8(win32::withoutCr(win32::windowText(box))) : "";
  }

  std::vector<std::string> rows(const std::string& window, const std::string& control) override {
    std::vector<std::string> paths;
    win32::DirListView* list = shownList(window, control);
    for (int row = 0; list && row < list->rowCount(); ++row)
      paths.push_back(list->pathOfRow(row));
    return paths;
  }

  // What a screen reader reads of a control through its client object: its name.
  static std::string accessibleName(HWND child) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(child, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                          reinterpret_cast<void**>(&object)))) {
      return {};
    }
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR read = nullptr;
    std::string text;
    if (object->get_accName(self, &read) == S_OK && read) text = windows::utf8(read);
    SysFreeString(read);
    object->Release();
    return text;
  }

  // A list's rows as a screen reader's helper reads them: the list's own answer to
  // LVM_GETITEMTEXT, which the system's list view asks of the program for each row.
  static std::vector<std::string> readRows(HWND list) {
    std::vector<std::string> rows;
    const auto count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
      wchar_t text[1024] = L"";
      LVITEMW item{};
      item.pszText = text;
      item.cchTextMax = static_cast<int>(std::size(text));
      SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&item));
      rows.push_back(windows::utf8(text));
    }
    return rows;
  }

  ControlFacts facts(const std::string& window, const std::string& control) override {
    settle();
    Win32Window* top = findWindow(window);
    HWND child = top && control.empty() ? top->hwnd() : find(window, control);
    if (!top || !child) return {};
    // Where it is on screen, from the client area's left edge, also in a mirrored window.
    RECT rect{}, client{};
    GetWindowRect(child, &rect);
    GetClientRect(top->hwnd(), &client);
    MapWindowPoints(top->hwnd(), nullptr, reinterpret_cast<POINT*>(&client), 2);
    OffsetRect(&rect, -std::min(client.left, client.right), -client.top);
    // In pixels at 96 DPI, so that every toolkit compares alike.
    const double scale = 96.0 / dpiOf(top->hwnd());
    const auto at96 = [scale](LONG px) { return static_cast<int>(std::lround(px * scale)); };
    ControlFacts facts{at96(rect.left), at96(rect.top), at96(rect.right - rect.left),
                       at96(rect.bottom - rect.top)};
    wchar_t tip[1024] = L"";
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = top->hwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(child);
    tool.lpszText = tip;
    SendMessageW(top->tooltips(), TTM_GETTEXTW, std::size(tip), reinterpret_cast<LPARAM>(&tool));
    facts.tooltip = windows::utf8(tip);
    facts.focused = GetFocus() == child;
    facts.enabled = IsWindowEnabled(child);
    facts.active = GetActiveWindow() == child;
    // A drive list's rows are its roots; no choice (CB_ERR) is past the end.
    const auto choice = static_cast<std::size_t>(SendMessageW(child, CB_GETCURSEL, 0, 0));
    for (WPARAM row = 0;
         kindOf(child) == L"combobox" && SendMessageW(child, CB_GETLBTEXTLEN, row, 0) >= 0; ++row) {
      wchar_t root[MAX_PATH] = L"";
      SendMessageW(child, CB_GETLBTEXT, row, reinterpret_cast<LPARAM>(root));
      facts.rows.push_back(windows::utf8(root));
      if (row == choice) facts.choice = facts.rows.back();
    }
    facts.textCut = textCut(child, dpiOf(top->hwnd()));
    LOGFONTW font{};
    if (GetObjectW(reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)), sizeof font,
                   &font))
      facts.points = std::abs(font.lfHeight) * 72.0 / dpiOf(top->hwnd());
    facts.accessibleName = accessibleName(child);
    if (top->dirList(control)) facts.rows = readRows(child);
    return facts;
  }

  // The user's text size as Windows keeps it: the system's fonts in that size, and the factor
  // Settings records. The message font is in a face as tall as Windows' own Segoe UI, where
  // wine's Tahoma is smaller.
  void setDesktopFont(int points) override {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    if (!desktop_.cbSize) desktop_ = metrics;
    metrics.lfMessageFont.lfHeight = -MulDiv(points, 96, 72);
    wcscpy_s(metrics.lfMessageFont.lfFaceName, L"DejaVu Sans");
    SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    const DWORD percent = static_cast<DWORD>(MulDiv(points, 100, 9));
    RegSetKeyValueW(HKEY_CURRENT_USER, kAccessibility, L"TextScaleFactor", REG_DWORD, &percent,
                    sizeof percent);
  }

  // As Windows moves a window to another monitor: it asks the window its size at the monitor's
  // DPI, or scales it when the window does not say, tells it the DPI and suggests that rectangle.
  bool moveToScale(const std::string& window, int dpi) override {
    const HWND top = hwnd(window);
    if (!top) return false;
    RECT now{};
    GetWindowRect(top, &now);
    UINT& scale = scales_.try_emplace(top, dpiOf(top)).first->second;
    SIZE size{MulDiv(now.right - now.left, dpi, static_cast<int>(scale)),
              MulDiv(now.bottom - now.top, dpi, static_cast<int>(scale))};
    SendMessageW(top, WM_GETDPISCALEDSIZE, static_cast<WPARAM>(dpi),
                 reinterpret_cast<LPARAM>(&size));
    RECT suggested{now.left, now.top, now.left + size.cx, now.top + size.cy};
    scale = static_cast<UINT>(dpi);
    SendMessageW(top, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    GetWindowRect(top, &now);
    return EqualRect(&now, &suggested);
  }

 private:
  // Whether the control's caption, or a line of a box, runs past the room it is drawn in.
  // The control's window class, in small letters.
  static std::wstring kindOf(HWND control) {
    wchar_t kind[16] = L"";
    GetClassNameW(control, kind, 16);
    return CharLowerW(kind);
  }

  static bool textCut(HWND control, UINT dpi) {
    const std::wstring kind = kindOf(control);
    std::wstring text = win32::windowText(control);
    RECT room{};
    GetClientRect(control, &room);
    if (kind == L"edit") {
      text = L"\u00c1gjpqy";
      room.right = LONG_MAX;
    } else if (kind == L"button" && !(GetWindowLongW(control, GWL_STYLE) & BS_ICON)) {
      const int edge = MulDiv(2, static_cast<int>(dpi), 96);  // its raised edge
      InflateRect(&room, -edge, -edge);
    } else if (kind == L"combobox") {
      room.bottom = static_cast<LONG>(SendMessageW(control, CB_GETITEMHEIGHT, WPARAM(-1), 0));
    } else if (kind != L"static" || room.right == 0) {
      return false;
    }
    HDC dc = GetDC(control);
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT drawn{};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &drawn, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return drawn.right > room.right - room.left || drawn.bottom > room.bottom - room.top;
  }

  // Keys posted to the focused control and handled by the loop, so that the dialog keys see
  // them first and the loop makes the characters typed.
  void post(const std::string& window, const std::string& control, const std::vector<UINT>& codes) {
    HWND target = usable(window, control);
    if (!target) return;
    SetFocus(target);
    // One key at a time: the characters the loop makes of a key come before the next key.
    for (const UINT code : codes) {
      key(target, code);
      settle();
    }
  }

  // Handles what is queued, as the screen catches up while a user looks.
  void settle() {
    toolkit().runUntil([] {
      MSG message;
      return !PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
    });
  }

  // The list as the user sees it once it has painted: the driver lists nothing itself.
  win32::DirListView* shownList(const std::string& window, const std::string& control) {
    settle();
    return dirList(window, control);
  }

  bool onScreen(LiveWindow& window) override {
    const HWND top = static_cast<Win32Window&>(window).hwnd();
    return top && IsWindowVisible(top);
  }

  Win32Window* findWindow(const std::string& name) {
    return static_cast<Win32Window*>(shownWindow(name));
  }

  HWND hwnd(const std::string& window) {
    Win32Window* top = findWindow(window);
    return top ? top->hwnd() : nullptr;
  }

  HWND find(const std::string& window, const std::string& control) {
    Win32Window* top = findWindow(window);
    HWND found = top ? top->controlWindow(control) : nullptr;
    return top && !found ? noControl(window, control) : found;
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

  win32::DirListView* dirList(const std::string& window, const std::string& control) {
    Win32Window* top = findWindow(window);
    win32::DirListView* list = top ? top->dirList(control) : nullptr;
    return top && !list ? noControl(window, control) : list;
  }

  // The DPI of the monitor the window is on, as the driver moved it.
  UINT dpiOf(HWND top) const {
    const auto moved = scales_.find(top);
    return moved == scales_.end() ? win32::dpiOfWindow(top) : moved->second;
  }

  NONCLIENTMETRICSW desktop_{};  // the system's font metrics before the test changed them
  std::map<HWND, UINT> scales_;  // the DPI each window was moved to
};

}  // namespace

std::unique_ptr<ScriptedUser> makeScriptedUser() {
  return std::make_unique<Win32User>();
}

}  // namespace qb::test

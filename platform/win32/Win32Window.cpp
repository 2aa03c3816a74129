#include "platform/win32/Win32Window.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <utility>

#include "platform/catalogue.h"
#include "platform/win32/Controls.h"
#include "platform/win32/DirListView.h"
#include "platform/win32/Layout.h"
#include "platform/win32/Win32Toolkit.h"
#include "platform/win32/text.h"
#include "platform/windows/library.h"
#include "resources/resource_ids.h"

namespace qb::win32 {

namespace {

constexpr wchar_t kClass[] = L"QuenbrookWindow";
// Control IDs start above IDOK and IDCANCEL, so that Enter and Esc press no control.
constexpr int kFirstId = 100;
constexpr UINT_PTR kTooltipsTimer = 1;

// Dropping from Explorer, from shell32, which is loaded only once the first window has painted:
// importing it would put its loading, and all it loads, before step 1's window.
struct Drops {
  decltype(&DragAcceptFiles) accept = nullptr;
  decltype(&DragQueryFileW) query = nullptr;
  decltype(&DragFinish) finish = nullptr;
};

const Drops& drops() {
  static const Drops found = [] {
    Drops d;
    d.accept = windows::systemFunction<decltype(d.accept)>(L"shell32.dll", "DragAcceptFiles");
    d.query = windows::systemFunction<decltype(d.query)>(L"shell32.dll", "DragQueryFileW");
    d.finish = windows::systemFunction<decltype(d.finish)>(L"shell32.dll", "DragFinish");
    if (!d.accept || !d.query || !d.finish) d = Drops{};
    return d;
  }();
  return found;
}

}  // namespace

Win32Window::Win32Window(const WindowSpec& spec) : spec_(spec) {
  static const ATOM registered = registerDialogClass(kClass, procedure);
  (void)registered;

  style_ = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  // Tab and Shift+Tab move through the controls, as in a dialog.
  exStyle_ = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT | (spec.inTaskbar ? WS_EX_APPWINDOW : 0);
  // Where the language is written from right to left the window is mirrored, its controls with
  // it, as Windows mirrors its own.
  if (rightToLeft()) exStyle_ |= WS_EX_LAYOUTRTL;
  CreateWindowExW(exStyle_, kClass, windows::wide(spec.caption).c_str(), style_, CW_USEDEFAULT,
                  CW_USEDEFAULT, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr), this);
  if (!hwnd_) throw PlatformError(spec.caption, tr("The window could not be made."));
  try {
    if (!spec.closeBox) {
      EnableMenuItem(GetSystemMenu(hwnd_, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    }
    for (std::size_t i = 0; i < spec.controls.size(); ++i)
      makeControl(spec.controls[i], static_cast<int>(i));
    layout(dpiOfWindow(hwnd_));
  } catch (...) {
    release();
    throw;
  }
}

Win32Window::~Win32Window() {
  release();
}

void Win32Window::release() {
  if (!hwnd_) return;
  HWND hwnd = hwnd_;
  hwnd_ = nullptr;
  // Unload may come from a notification of one of this window's own controls, still on the
  // stack: from here on the window's messages reach nothing of this object.
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  DestroyWindow(hwnd);
}

void Win32Window::makeControl(const ControlSpec& spec, int index) {
  const int id = kFirstId + index;
  // A box or list is named, for screen readers, by the static text just before it; this one is
  // never seen (no size), and takes no focus, so the tab order stays as it was.
  if (spec.kind != ControlKind::Label && spec.kind != ControlKind::Button) {
    CreateWindowExW(0, L"STATIC", windows::wide(accessibleNameOf(spec)).c_str(),
                    WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, hwnd_, nullptr,
                    GetModuleHandleW(nullptr), nullptr);
  }
  std::unique_ptr<ChildControl> made;
  switch (spec.kind) {
    case ControlKind::Label:
      made = std::make_unique<Label>(hwnd_, id, spec);
      break;
    case ControlKind::TextBox:
      made = std::make_unique<TextBox>(hwnd_, id, spec);
      break;
    case ControlKind::Button: {
      made = std::make_unique<PushButton>(hwnd_, id, spec);
      made->reflected.command = [this, index](WORD code) {
        if (code == BN_CLICKED) reportClick(index);
      };
      break;
    }
    case ControlKind::DriveList: {
      auto drives = std::make_unique<DriveList>(hwnd_, id, spec);
      drives->onPick = [this, index] { reportDrivePicked(index); };
      made = std::move(drives);
      break;
    }
    case ControlKind::DirList: {
      auto list = std::make_unique<DirListView>(hwnd_, id, spec);
      list->onOpen = [this, index](const std::string& path) { reportFolderOpened(index, path); };
      list->onFailure = [this](const PlatformError& error) { reportFailure(error); };
      made = std::move(list);
      break;
    }
  }
  controls_.push_back(std::move(made));
}

HWND Win32Window::tooltips() {
  if (tooltips_ || !hwnd_) return tooltips_;
  tooltips_ = CreateWindowExW(WS_EX_TOPMOST | (rightToLeft() ? WS_EX_LAYOUTRTL : 0),
                              TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(tooltips_, WM_SETFONT, reinterpret_cast<WPARAM>(layout_.message.get()), FALSE);
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (spec_.controls[i].tooltip.empty()) continue;
    std::wstring tip = windows::wide(spec_.controls[i].tooltip);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = hwnd_;
    tool.uId = reinterpret_cast<UINT_PTR>(controls_[i]->hwnd());
    tool.lpszText = tip.data();
    SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  return tooltips_;
}

void Win32Window::layout(UINT dpi) {
  Layout next = layoutFor(hwnd_, spec_, dpi);
  for (std::size_t i = 0; i < controls_.size(); ++i)
    controls_[i]->place(next.rect(spec_.controls[i].rect), dpi, next.font(i));
  // The old fonts go only once no control uses them.
  layout_ = std::move(next);
  if (tooltips_) {
    SendMessageW(tooltips_, WM_SETFONT, reinterpret_cast<WPARAM>(layout_.message.get()), FALSE);
  }
  const SIZE size = frame(layout_);
  SetWindowPos(hwnd_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  const int icon = spec_.icon == WindowIcon::Folder ? IDI_FOLDER : IDI_PROGRAM;
  OwnedIcon big = loadIcon(icon, systemMetric(SM_CXICON, dpi));
  OwnedIcon small = loadIcon(icon, systemMetric(SM_CXSMICON, dpi));
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
  bigIcon_ = std::move(big);
  smallIcon_ = std::move(small);
}

SIZE Win32Window::frame(const Layout& layout) const {
  return frameSize(layout.pixels(spec_.clientWidth), layout.pixels(spec_.clientHeight), style_,
                   exStyle_, layout.dpi);
}

void Win32Window::show(LiveWindow* owner) {
  HWND ownerWindow = owner ? static_cast<Win32Window*>(owner)->hwnd() : nullptr;
  // A window out of the taskbar belongs to the one it was shown over, and stays above it.
  if (!spec_.inTaskbar) {
    SetWindowLongPtrW(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(ownerWindow));
  }
  const RECT area = centringArea(spec_.placement == Placement::CenterOwner ? ownerWindow : nullptr);
  // Sized for the monitor it lands on before it moves there.
  const UINT dpi = dpiOfMonitor(MonitorFromRect(&area, MONITOR_DEFAULTTONEAREST));
  if (dpi != layout_.dpi) layout(dpi);
  const SIZE size = frame(layout_);
  const int x = area.left + (area.right - area.left - size.cx) / 2;
  const int y = area.top + (area.bottom - area.top - size.cy) / 2;
  SetWindowPos(hwnd_, nullptr, x, y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  // Shown from the program's own input, so Windows lets it come to the front.
  ShowWindow(hwnd_, SW_SHOW);
  focusFirst();
  // Tooltips are for hovering, later: they are made once the first frame is painted, since a
  // timer's message comes only after every pending paint.
  SetTimer(hwnd_, kTooltipsTimer, USER_TIMER_MINIMUM, nullptr);
}

void Win32Window::focusFirst() {
  for (const auto& control : controls_) {
    const HWND child = control->hwnd();
    if ((GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP) && IsWindowEnabled(child)) {
      SetFocus(child);
      return;
    }
  }
}

void Win32Window::rememberFocus() {
  const HWND focus = GetFocus();
  if (focus && IsChild(hwnd_, focus)) focus_ = focus;
}

void Win32Window::setEnabled(bool enabled) {
  if (!enabled) rememberFocus();
  // Enabled before the window over it goes, it is the one Windows activates then; nothing here
  // pulls the program to the front.
  EnableWindow(hwnd_, enabled);
}

ChildControl* Win32Window::byId(UINT id) const {
  if (id < static_cast<UINT>(kFirstId)) return nullptr;
  const std::size_t index = id - kFirstId;
  return index < controls_.size() ? controls_[index].get() : nullptr;
}

template <typename T>
T& Win32Window::control(int index) const {
  auto* found = dynamic_cast<T*>(controls_.at(static_cast<std::size_t>(index)).get());
  if (!found) throw std::logic_error(spec_.name + ": control of another kind");
  return *found;
}

std::string Win32Window::text(int control) const {
  const ChildControl& child = *controls_.at(static_cast<std::size_t>(control));
  const ControlKind kind = child.spec().kind;
  if (kind == ControlKind::DirList || kind == ControlKind::DriveList) {
    throw std::logic_error(spec_.name + ": this control has no text");
  }
  return child.text();
}

void Win32Window::setText(int control, const std::string& text) {
  this->control<TextBox>(control).setText(text);
}

void Win32Window::repaint(int control) {
  RedrawWindow(controls_.at(static_cast<std::size_t>(control))->hwnd(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

std::string Win32Window::dirPath(int control) const {
  return this->control<DirListView>(control).path();
}

bool Win32Window::setDirPath(int control, const std::string& path) {
  return this->control<DirListView>(control).setPath(path);
}

void Win32Window::rereadDir(int control) {
  this->control<DirListView>(control).reread();
}

std::string Win32Window::drive(int control) const {
  return this->control<DriveList>(control).drive();
}

void Win32Window::setDrive(int control, const std::string& path) {
  this->control<DriveList>(control).setDrive(path);
}

HWND Win32Window::controlWindow(const std::string& name) const {
  for (const auto& control : controls_) {
    if (control->spec().name == name) return control->hwnd();
  }
  return nullptr;
}

DirListView* Win32Window::dirList(const std::string& name) const {
  for (const auto& control : controls_) {
    if (control->spec().name == name) return dynamic_cast<DirListView*>(control.get());
  }
  return nullptr;
}

LRESULT CALLBACK Win32Window::procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self =
        static_cast<Win32Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  return self->handle(message, wParam, lParam);
}

LRESULT Win32Window::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      // A handler may unload this window: it runs from a copy, and nothing follows it.
      ChildControl* child = lParam ? byId(LOWORD(wParam)) : nullptr;
      const auto command = child ? child->reflected.command : nullptr;
      if (command) command(HIWORD(wParam));
      return 0;
    }
    case WM_NOTIFY: {
      const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
      for (const auto& child : controls_) {
        if (child->hwnd() != header.hwndFrom) continue;
        // A notification may unload this window: it runs from a copy.
        const auto notify = child->reflected.notify;
        if (notify) return notify(header);
      }
      break;
    }
    case WM_TIMER:
      if (wParam != kTooltipsTimer) break;
      KillTimer(hwnd_, kTooltipsTimer);
      tooltips();
      // Nothing is dropped before the window is seen.
      if (spec_.takesDrops && drops().accept) drops().accept(hwnd_, TRUE);
      return 0;
    case WM_DROPFILES: {
      const auto drop = reinterpret_cast<HDROP>(wParam);
      const Drops& shell = drops();
      if (!shell.query) break;
      std::vector<std::string> paths(shell.query(drop, 0xFFFFFFFF, nullptr, 0));
      for (UINT i = 0; i < paths.size(); ++i) {
        std::wstring path(shell.query(drop, i, nullptr, 0) + 1, L'\0');
        path.resize(shell.query(drop, i, path.data(), static_cast<UINT>(path.size())));
        paths[i] = windows::utf8(path);
      }
      shell.finish(drop);
      reportDrop(paths);
      return 0;
    }
    case WM_CLOSE:
      // The form decides; a window under a modal one takes no input.
      reportClose();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        rememberFocus();
      } else if (focus_ && IsWindow(focus_) && IsChild(hwnd_, focus_) && IsWindowEnabled(focus_)) {
        SetFocus(focus_);
      } else {
        focusFirst();
      }
      return 0;
    case WM_CANCELMODE:
      // Sent as the window is disabled, before its control loses the focus.
      rememberFocus();
      break;
    case WM_GETDPISCALEDSIZE: {
      // The size the twips give at the new DPI, which Windows then suggests as it moves the
      // window: sizes scaled from the old ones would drift from the table.
      const Layout next = layoutFor(hwnd_, spec_, static_cast<UINT>(wParam));
      *reinterpret_cast<SIZE*>(lParam) = frame(next);
      return TRUE;
    }
    case WM_DPICHANGED: {
      const UINT dpi = HIWORD(wParam);
      if (dpi == layout_.dpi) return 0;
      layout(dpi);
      // Where and how large Windows suggests, so that the window stays under the mouse as it
      // moves between monitors.
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top,
                   suggested->right - suggested->left, suggested->bottom - suggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_NCDESTROY: {
      // The system took the window away (with its owner): nothing is left to reach.
      const HWND hwnd = hwnd_;
      hwnd_ = nullptr;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace qb::win32

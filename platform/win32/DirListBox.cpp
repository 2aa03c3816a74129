#include "platform/win32/DirListBox.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/files.h"
#include "platform/win32/ListAccessible.h"
#include "platform/win32/text.h"
#include "resources/resource_ids.h"

namespace qb::win32 {

namespace {

// Posted to the list itself: read the folder now that the list is on screen.
constexpr UINT kListNow = WM_APP + 1;

constexpr ULONGLONG kTypingPause = 1000;  // ms after which typing starts a new prefix

}  // namespace

DirListBox::DirListBox(HWND parent, int id, const ControlSpec& spec)
    : ChildControl(parent, id, spec, L"LISTBOX",
                   WS_TABSTOP | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_NODATA | LBS_NOTIFY |
                       LBS_NOINTEGRALHEIGHT,
                   WS_EX_CLIENTEDGE) {
  SetWindowSubclass(hwnd_, subclass, 1, reinterpret_cast<DWORD_PTR>(this));
  // A list shows no title: this one is for screen readers that read no label before it.
  SetWindowTextW(hwnd_, windows::wide(accessibleNameOf(spec)).c_str());
  reflected.command = [this](WORD code) {
    if (code == LBN_DBLCLK) open(selectedRow());
  };
  reflected.draw = [this](const DRAWITEMSTRUCT& item) { draw(item); };
}

bool DirListBox::setPath(const std::string& path) {
  if (!rows_.setPath(path)) return false;
  scheduleListing();
  return true;
}

void DirListBox::reread() {
  rows_.markStale();
  scheduleListing();
}

void DirListBox::scheduleListing() {
  if (scheduled_ || !IsWindowVisible(hwnd_)) return;
  scheduled_ = PostMessageW(hwnd_, kListNow, 0, 0) != FALSE;
}

void DirListBox::ensureListed() {
  scheduled_ = false;
  if (!rows_.stale()) return;
  rows_.read();
  SendMessageW(hwnd_, LB_SETCOUNT, rows_.count(), 0);
  // The folder itself is selected and scrolled into view.
  SendMessageW(hwnd_, LB_SETCURSEL, rows_.current(), 0);
}

int DirListBox::rowCount() const {
  return static_cast<int>(SendMessageW(hwnd_, LB_GETCOUNT, 0, 0));
}

int DirListBox::rowOf(const std::string& path) const {
  return rows_.rowOf(path);
}

std::string DirListBox::pathOfRow(int row) const {
  return rows_.pathOf(static_cast<std::size_t>(row));
}

std::wstring DirListBox::nameAt(std::size_t row) const {
  return windows::wide(rows_.name(row));
}

int DirListBox::selectedRow() const {
  return static_cast<int>(SendMessageW(hwnd_, LB_GETCURSEL, 0, 0));
}

void DirListBox::open(int row) {
  ensureListed();
  if (row < 0 || row >= rowCount()) return;
  const std::string path = pathOfRow(row);
  // Opening may unload the window and this list with it.
  const auto handler = onOpen;
  handler(path);
}

void DirListBox::typeAhead(wchar_t typed) {
  const ULONGLONG now = GetTickCount64();
  if (now - lastTyped_ > kTypingPause) typed_.clear();
  lastTyped_ = now;
  typed_ += typed;
  ensureListed();
  const int count = rowCount();
  if (count == 0) return;
  // The same letter again moves on to the next row that starts with it.
  std::wstring prefix = typed_;
  if (std::all_of(prefix.begin(), prefix.end(), [&](wchar_t c) { return c == prefix[0]; })) {
    prefix.resize(1);
  }
  const int current = selectedRow();
  // A new prefix is looked for after the selected row; a longer one may still fit it.
  const int start = prefix.size() == 1 ? current + 1 : std::max(current, 0);
  for (int i = 0; i < count; ++i) {
    const int row = (start + i) % count;
    const std::wstring name = nameAt(static_cast<std::size_t>(row));
    const int length = static_cast<int>(prefix.size());
    if (name.size() >= prefix.size() &&
        CompareStringOrdinal(name.c_str(), length, prefix.c_str(), length, TRUE) == CSTR_EQUAL) {
      SendMessageW(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
      return;
    }
  }
}

void DirListBox::place(const RECT& rect, UINT dpi, HFONT font) {
  font_ = font;
  iconSize_ = scaled(16, dpi);
  indent_ = scaled(8, dpi);
  margin_ = scaled(2, dpi);
  open_ = loadIcon(IDI_LIST_OPEN, iconSize_);
  closed_ = loadIcon(IDI_LIST_CLOSED, iconSize_);
  ChildControl::place(rect, dpi, font);
  const int height = std::max(iconSize_, lineHeight(hwnd_, font)) + 2 * margin_;
  SendMessageW(hwnd_, LB_SETITEMHEIGHT, 0, height);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void DirListBox::draw(const DRAWITEMSTRUCT& item) {
  if (item.itemID == static_cast<UINT>(-1) || item.itemID >= rows_.count()) {
    return;
  }
  const std::size_t row = item.itemID;
  const bool selected = item.itemState & ODS_SELECTED;
  HDC dc = item.hDC;
  RECT box = item.rcItem;
  FillRect(dc, &box, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));

  const int depth = static_cast<int>(rows_.depth(row));
  int x = box.left + margin_ + indent_ * depth;
  const int y = box.top + (box.bottom - box.top - iconSize_) / 2;
  HICON icon = rows_.isOpen(row) ? open_.get() : closed_.get();
  if (icon) DrawIconEx(dc, x, y, icon, iconSize_, iconSize_, 0, nullptr, DI_NORMAL);
  x += iconSize_ + 2 * margin_;

  const std::wstring name = nameAt(row);
  HGDIOBJ oldFont = SelectObject(dc, font_);
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColor =
      SetTextColor(dc, GetSysColor((item.itemState & ODS_DISABLED) ? COLOR_GRAYTEXT
                                   : selected                      ? COLOR_HIGHLIGHTTEXT
                                                                   : COLOR_WINDOWTEXT));
  RECT textBox{x, box.top, box.right - margin_, box.bottom};
  DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &textBox,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  SetTextColor(dc, oldColor);
  SetBkMode(dc, oldMode);
  SelectObject(dc, oldFont);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &box);
}

LRESULT CALLBACK DirListBox::subclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR /*id*/, DWORD_PTR data) {
  auto* self = reinterpret_cast<DirListBox*>(data);
  switch (message) {
    case WM_GETDLGCODE: {
      LRESULT code = DefSubclassProc(hwnd, message, wParam, lParam);
      // Enter opens the selected folder rather than going to the window.
      const auto* msg = reinterpret_cast<const MSG*>(lParam);
      if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) code |= DLGC_WANTALLKEYS;
      return code;
    }
    case WM_KEYDOWN:
      if (wParam == VK_RETURN) {
        self->open(self->selectedRow());
        return 0;
      }
      break;
    case WM_CHAR:
      if (wParam >= 0x20) self->typeAhead(static_cast<wchar_t>(wParam));
      if (wParam >= 0x20 || wParam == L'\r') return 0;
      break;
    // The list keeps no text of its own (rows are drawn from the folder's names): a program that
    // reads a list box's rows as text gets each row's name here.
    case LB_GETTEXTLEN:
    case LB_GETTEXT: {
      self->ensureListed();
      if (wParam >= self->rows_.count()) return LB_ERR;
      const std::wstring name = self->nameAt(wParam);
      if (message == LB_GETTEXT) {
        if (!lParam) return LB_ERR;
        std::copy(name.begin(), name.end(), reinterpret_cast<wchar_t*>(lParam));
        reinterpret_cast<wchar_t*>(lParam)[name.size()] = L'\0';
      }
      return static_cast<LRESULT>(name.size());
    }
    case WM_GETOBJECT:
      if (const LRESULT object = accessibleList(hwnd, wParam, lParam)) return object;
      break;
    case kSpokenRow:
      self->ensureListed();
      if (wParam >= self->rows_.count()) return FALSE;
      *reinterpret_cast<std::wstring*>(lParam) = windows::wide(self->rows_.spoken(wParam));
      return TRUE;
    case kListNow:
      self->ensureListed();
      return 0;
    case WM_PAINT:
      self->ensureListed();
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, subclass, 1);
      break;
    default:
      break;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace qb::win32

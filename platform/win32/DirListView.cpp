#include "platform/win32/DirListView.h"

#include <algorithm>

#include "platform/files.h"
#include "platform/win32/text.h"
#include "resources/resource_ids.h"

namespace qb::win32 {

namespace {

// Posted to the list itself: read the folder now that the list is on screen.
constexpr UINT kListNow = WM_APP + 1;

// The two pictures, in the list's image list.
constexpr int kOpenPicture = 0, kClosedPicture = 1;

}  // namespace

DirListView::DirListView(HWND parent, int id, const ControlSpec& spec)
    : ChildControl(parent, id, spec, WC_LISTVIEWW,
                   WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_NOCOLUMNHEADER | LVS_SINGLESEL |
                       LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS,
                   WS_EX_CLIENTEDGE) {
  SetWindowSubclass(hwnd_, subclass, 1, reinterpret_cast<DWORD_PTR>(this));
  SetWindowTextW(hwnd_, windows::wide(accessibleNameOf(spec)).c_str());
  SendMessageW(hwnd_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  SendMessageW(hwnd_, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  reflected.notify = [this](const NMHDR& header) { return notified(header); };
}

bool DirListView::setPath(const std::string& path) {
  if (!rows_.setPath(path)) return false;
  scheduleListing();
  return true;
}

void DirListView::reread() {
  rows_.markStale();
  scheduleListing();
}

void DirListView::scheduleListing() {
  if (scheduled_ || !IsWindowVisible(hwnd_)) return;
  scheduled_ = PostMessageW(hwnd_, kListNow, 0, 0) != FALSE;
}

void DirListView::ensureListed() {
  scheduled_ = false;
  if (!rows_.stale()) return;
  const std::optional<PlatformError> failure = rows_.read();
  // The folder itself is selected and has the keys, chosen while the rows end with it: a list
  // of single selection may visit every row to clear the others, and it keeps the choice as
  // the rest of the rows come.
  SendMessageW(hwnd_, LVM_SETITEMCOUNT, rows_.current() + 1, 0);
  LVITEMW state{};
  state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(hwnd_, LVM_SETITEMSTATE, rows_.current(), reinterpret_cast<LPARAM>(&state));
  SendMessageW(hwnd_, LVM_SETITEMCOUNT, rows_.count(), LVSICF_NOSCROLL);
  SendMessageW(hwnd_, LVM_ENSUREVISIBLE, rows_.current(), FALSE);
  InvalidateRect(hwnd_, nullptr, TRUE);
  if (failure) onFailure(*failure);
}

int DirListView::rowCount() const {
  return static_cast<int>(SendMessageW(hwnd_, LVM_GETITEMCOUNT, 0, 0));
}

int DirListView::rowOf(const std::string& path) const {
  return rows_.rowOf(path);
}

std::string DirListView::pathOfRow(int row) const {
  return rows_.pathOf(static_cast<std::size_t>(row));
}

void DirListView::open(int row) {
  ensureListed();
  if (row < 0 || row >= rowCount()) return;
  const std::string path = pathOfRow(row);
  // Opening may unload the window and this list with it.
  const auto handler = onOpen;
  handler(path);
}

LRESULT DirListView::notified(const NMHDR& header) {
  switch (header.code) {
    case LVN_GETDISPINFOW: {
      LVITEMW& item = reinterpret_cast<NMLVDISPINFOW&>(const_cast<NMHDR&>(header)).item;
      const auto row = static_cast<std::size_t>(item.iItem);
      if (item.iItem < 0 || row >= rows_.count()) return 0;
      if ((item.mask & LVIF_TEXT) && item.cchTextMax > 0) {
        const std::wstring name = windows::wide(rows_.name(row));
        const std::size_t length = std::min<std::size_t>(name.size(), item.cchTextMax - 1);
        std::copy_n(name.begin(), length, item.pszText);
        item.pszText[length] = L'\0';
      }
      if (item.mask & LVIF_IMAGE) item.iImage = rows_.isOpen(row) ? kOpenPicture : kClosedPicture;
      if (item.mask & LVIF_INDENT) item.iIndent = static_cast<int>(rows_.depth(row));
      return 0;
    }
    case LVN_ODFINDITEMW:
      return find(reinterpret_cast<const NMLVFINDITEMW&>(header));
    case LVN_ITEMACTIVATE:
      // A double click selects the row before it activates it; Enter acts on the selected one.
      open(static_cast<int>(
          SendMessageW(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)));
      return 0;
    default:
      return 0;
  }
}

// The list's own type-ahead asks for the row whose name starts with what was typed, ignoring
// letter case as the rest of the program does.
int DirListView::find(const NMLVFINDITEMW& search) {
  const LVFINDINFOW& what = search.lvfi;
  if (!(what.flags & (LVFI_STRING | LVFI_PARTIAL)) || !what.psz) return -1;
  const std::wstring wanted = what.psz;
  const int count = rowCount();
  const int start = std::clamp(search.iStart, 0, std::max(count, 1) - 1);
  const int steps = (what.flags & LVFI_WRAP) ? count : count - start;
  for (int i = 0; i < steps; ++i) {
    const int row = (start + i) % count;
    const std::wstring name = windows::wide(rows_.name(static_cast<std::size_t>(row)));
    const std::size_t length = (what.flags & LVFI_PARTIAL) ? wanted.size() : name.size();
    if (name.size() < wanted.size() ||
        (!(what.flags & LVFI_PARTIAL) && name.size() != wanted.size()))
      continue;
    if (CompareStringOrdinal(name.c_str(), static_cast<int>(length), wanted.c_str(),
                             static_cast<int>(wanted.size()), TRUE) == CSTR_EQUAL) {
      return row;
    }
  }
  return -1;
}

void DirListView::fitColumn() {
  RECT client{};
  GetClientRect(hwnd_, &client);
  SendMessageW(hwnd_, LVM_SETCOLUMNWIDTH, 0, client.right);
}

void DirListView::place(const RECT& rect, UINT dpi, HFONT font) {
  const int size = scaled(16, dpi);
  decltype(pictures_) pictures(ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 2, 0));
  for (const int icon : {IDI_LIST_OPEN, IDI_LIST_CLOSED})
    ImageList_AddIcon(pictures.get(), loadIcon(icon, size).get());
  SendMessageW(hwnd_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(pictures.get()));
  pictures_ = std::move(pictures);
  ChildControl::place(rect, dpi, font);
  fitColumn();
}

LRESULT CALLBACK DirListView::subclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR /*id*/, DWORD_PTR data) {
  auto* self = reinterpret_cast<DirListView*>(data);
  switch (message) {
    case WM_GETDLGCODE: {
      LRESULT code = DefSubclassProc(hwnd, message, wParam, lParam);
      // Enter opens the selected folder rather than going to the window.
      const auto* msg = reinterpret_cast<const MSG*>(lParam);
      if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) code |= DLGC_WANTALLKEYS;
      return code;
    }
    case WM_SIZE: {
      // A scroll bar that comes or goes changes the room the one column has.
      const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
      self->fitColumn();
      return result;
    }
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

#include "platform/files.h"
#include "platform/win32/Controls.h"
#include "platform/win32/text.h"

namespace qb::win32 {

DriveList::DriveList(HWND parent, int id, const ControlSpec& spec)
    : ChildControl(parent, id, spec, L"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST) {
  for (const std::string& root : files::drives())
    select(root);
  reflected.command = [this](WORD code) {
    // While the list is dropped, moving through it is not yet a pick.
    if (code == CBN_SELENDOK ||
        (code == CBN_SELCHANGE && !SendMessageW(hwnd_, CB_GETDROPPEDSTATE, 0, 0))) {
      picked();
    }
  };
}

void DriveList::place(const RECT& rect, UINT dpi, HFONT font) {
  // The height given is the closed list's; the dropped list takes room for some drives more.
  RECT dropped = rect;
  dropped.bottom += scaled(8 * 18, dpi);
  ChildControl::place(dropped, dpi, font);
}

std::string DriveList::drive() const {
  const LRESULT row = SendMessageW(hwnd_, CB_GETCURSEL, 0, 0);
  if (row < 0 || static_cast<std::size_t>(row) >= roots_.size()) return {};
  return roots_[static_cast<std::size_t>(row)];
}

void DriveList::setDrive(const std::string& path) {
  select(files::driveOf(path));
}

void DriveList::select(const std::string& root) {
  std::size_t row = 0;
  while (row < roots_.size() && roots_[row] != root)
    ++row;
  if (row == roots_.size()) {
    roots_.push_back(root);
    SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(windows::wide(root).c_str()));
  }
  current_ = static_cast<LRESULT>(row);
  SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(row), 0);
}

void DriveList::picked() {
  const LRESULT row = SendMessageW(hwnd_, CB_GETCURSEL, 0, 0);
  if (row == current_ || row < 0) return;
  current_ = row;
  onPick();
}

}  // namespace qb::win32

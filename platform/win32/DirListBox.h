#pragma once

#include <string>
#include <vector>

#include "platform/frontend/FolderRows.h"
#include "platform/win32/ChildControl.h"
#include "platform/win32/dpi.h"

namespace qb::win32 {

// A folder list as users know it, showing FolderRows, each row indented by its depth. A double
// click or Enter opens a folder; a single click only selects; arrow keys and typing move the
// selection. Rows are drawn on demand, so a folder of 100,000 subfolders shows at once.
class DirListBox : public ChildControl {
 public:
  DirListBox(HWND parent, int id, const ControlSpec& spec);

  // Called when the user opens the folder at the given path.
  std::function<void(const std::string&)> onOpen = [](const std::string&) {};

  const std::string& path() const { return rows_.path(); }
  // Moves to the folder at path; false when it is the folder shown already.
  bool setPath(const std::string& path);
  void reread();

  // Reads the folder if it has not been read since it last changed.
  void ensureListed();
  // What the list shows: its rows, the row that opens path (or -1), the folder a row opens.
  int rowCount() const;
  int rowOf(const std::string& path) const;
  std::string pathOfRow(int row) const;

  void place(const RECT& rect, UINT dpi, HFONT font) override;

 private:
  static LRESULT CALLBACK subclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                   UINT_PTR id, DWORD_PTR data);
  void scheduleListing();
  void open(int row);
  void typeAhead(wchar_t typed);
  void draw(const DRAWITEMSTRUCT& item);
  std::wstring nameAt(std::size_t row) const;
  int selectedRow() const;

  FolderRows rows_;
  bool scheduled_ = false;

  std::wstring typed_;
  ULONGLONG lastTyped_ = 0;

  HFONT font_ = nullptr;
  OwnedIcon open_, closed_;
  int iconSize_ = 16, indent_ = 8, margin_ = 2;
};

}  // namespace qb::win32

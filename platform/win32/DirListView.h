#pragma once

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <type_traits>

#include "platform/frontend/FolderRows.h"
#include "platform/win32/ChildControl.h"
#include "platform/win32/dpi.h"

namespace qb::win32 {

// A folder list as users know it, showing FolderRows in the common controls' list view, each row
// indented by its depth, with an open or a closed folder. The list keeps no rows of its own: it
// asks for each as it draws it or as a screen reader reads it, so a folder of 100,000
// subfolders shows at once, and its rows are named, found by typing and read out by the
// system's own support for list views. A double click or Enter opens a folder; a single click
// only selects.
class DirListView : public ChildControl {
 public:
  DirListView(HWND parent, int id, const ControlSpec& spec);

  // Called when the user opens the folder at the given path.
  std::function<void(const std::string&)> onOpen = [](const std::string&) {};
  // Called when the folder shown could not be read.
  std::function<void(const PlatformError&)> onFailure = [](const PlatformError&) {};

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
  LRESULT notified(const NMHDR& header);
  void scheduleListing();
  void open(int row);
  int find(const NMLVFINDITEMW& search);
  void fitColumn();

  struct ImageListDeleter {
    void operator()(HIMAGELIST list) const { ImageList_Destroy(list); }
  };

  FolderRows rows_;
  bool scheduled_ = false;
  std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, ImageListDeleter> pictures_;
};

}  // namespace qb::win32

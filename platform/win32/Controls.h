#pragma once

// The plain controls: label, text box, push button and drive list. The folder list has its own
// header, DirListView.h.

#include <string>
#include <vector>

#include "platform/win32/ChildControl.h"
#include "platform/win32/dpi.h"

namespace qb::win32 {

class Label : public ChildControl {
 public:
  Label(HWND parent, int id, const ControlSpec& spec);
  void place(const RECT& rect, UINT dpi, HFONT font) override;
};

class TextBox : public ChildControl {
 public:
  TextBox(HWND parent, int id, const ControlSpec& spec);
};

class PushButton : public ChildControl {
 public:
  PushButton(HWND parent, int id, const ControlSpec& spec);
  void place(const RECT& rect, UINT dpi, HFONT font) override;

 private:
  OwnedIcon picture_;
};

class DriveList : public ChildControl {
 public:
  DriveList(HWND parent, int id, const ControlSpec& spec);
  void place(const RECT& rect, UINT dpi, HFONT font) override;

  // Called when the user picks another drive.
  std::function<void()> onPick = [] {};
  // The root of the selected drive.
  std::string drive() const;
  // Selects the drive that holds path, raising nothing.
  void setDrive(const std::string& path);

 private:
  void select(const std::string& root);
  void picked();

  std::vector<std::string> roots_;
  LRESULT current_ = CB_ERR;
};

}  // namespace qb::win32

#pragma once

// One child control of a window. The window reflects the notifications a control sends its
// parent back to the control that owns the child window, instead of handling them itself.

#include <windows.h>

#include <functional>
#include <string>

#include "platform/toolkit.h"

namespace qb::win32 {

// What the parent passes back to the control that sent it.
struct Reflected {
  std::function<void(WORD code)> command;
  std::function<LRESULT(const NMHDR&)> notify;
};

class ChildControl {
 public:
  ChildControl(HWND parent, int id, const ControlSpec& spec, const wchar_t* className, DWORD style,
               DWORD exStyle = 0);
  virtual ~ChildControl() = default;
  ChildControl(const ChildControl&) = delete;
  ChildControl& operator=(const ChildControl&) = delete;

  HWND hwnd() const { return hwnd_; }
  const ControlSpec& spec() const { return spec_; }
  Reflected reflected;

  // Moves the control to rect, in pixels at dpi, drawn in font.
  virtual void place(const RECT& rect, UINT dpi, HFONT font);
  virtual std::string text() const;
  virtual void setText(const std::string& text);

 protected:
  // A control whose content has no direction (a picture, a path) is not mirrored with a window
  // written from right to left: it is drawn from its left edge, where the window places it.
  void keepLeftToRight();

  HWND hwnd_;
  const ControlSpec& spec_;
};

}  // namespace qb::win32

#pragma once

// How a window's table becomes pixels: its twips at the window's DPI, times the user's text size,
// and times more where the system's font needs more room than the table gives a control. The
// whole window grows alike, so it keeps its proportions, and no font is made smaller than the
// user chose: text shows whole in the font the user reads everywhere else.

#include <windows.h>

#include <vector>

#include "platform/win32/dpi.h"
#include "platform/window_spec.h"

namespace qb::win32 {

struct Layout {
  UINT dpi = 96;
  double scale = 1;            // beyond dpi / 1440
  OwnedFont message;           // the system's message font at dpi
  std::vector<OwnedFont> own;  // each control's own font, or null where the message font serves

  int pixels(int twips) const;
  RECT rect(const Twips& twips) const;
  HFONT font(std::size_t control) const {
    return own[control] ? own[control].get() : message.get();
  }
};

// The layout of spec's window at dpi, its text measured as window draws it.
Layout layoutFor(HWND window, const WindowSpec& spec, UINT dpi);

}  // namespace qb::win32

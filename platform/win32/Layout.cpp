#include "platform/win32/Layout.h"

#include <climits>
#include <cmath>
#include <string>
#include <utility>

#include "platform/windows/text.h"

namespace qb::win32 {

namespace {

// The text that must fit a control whole, and the room it has there: inside a box's and a
// button's edges, and above a path box's scroll bar. A box may hold any text, so its room is
// measured with letters that reach above and below all others; long text scrolls sideways. A
// label as wide as its caption has the window's width, less as much again as its left margin.
std::pair<std::wstring, SIZE> textRoom(const ControlSpec& spec, const RECT& rect, int clientWidth,
                                       UINT dpi) {
  // A 3-D edge is two pixels at 96 DPI, and scaled with the rest of the window.
  const int edge = scaled(2, dpi);
  SIZE room{rect.right - rect.left - 2 * edge, rect.bottom - rect.top - 2 * edge};
  switch (spec.kind) {
    case ControlKind::TextBox:
      if (spec.flags & kMultiLine) room.cy -= systemMetric(SM_CYHSCROLL, dpi);
      return {L"\u00c1\u00c7gjpqy|", {LONG_MAX, room.cy}};
    case ControlKind::Button:
      if (spec.picture != Picture::None) break;
      return {windows::wide(spec.caption), room};
    case ControlKind::Label:
      if (!(spec.flags & kAutoSize)) break;
      return {windows::wide(spec.caption), {clientWidth - 2 * rect.left, LONG_MAX}};
    default:
      break;
  }
  return {};
}

bool fits(HDC dc, HFONT font, const std::wstring& text, SIZE room) {
  const HGDIOBJ old = SelectObject(dc, font);
  RECT measured{0, 0, 0, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured,
            DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
  return measured.right <= room.cx && measured.bottom <= room.cy;
}

}  // namespace

int Layout::pixels(int twips) const {
  return static_cast<int>(std::lround(twips * scale * dpi / 1440.0));
}

RECT Layout::rect(const Twips& twips) const {
  const int left = pixels(twips.left), top = pixels(twips.top);
  return {left, top, left + pixels(twips.width), top + pixels(twips.height)};
}

Layout layoutFor(HWND window, const WindowSpec& spec, UINT dpi) {
  Layout layout;
  layout.dpi = dpi;
  const double text = textScale();
  layout.scale = text;
  layout.message = messageFont(dpi);
  layout.own.resize(spec.controls.size());
  for (std::size_t i = 0; i < spec.controls.size(); ++i) {
    const Font& font = spec.controls[i].font;
    if (font.family.empty()) continue;
    layout.own[i] =
        namedFont(windows::wide(font.family).c_str(), font.points * text, font.bold, dpi);
  }
  // A few percent more at a time, until every text fits; a window five times its size would
  // no longer fit a screen, and stops there.
  const HDC dc = GetDC(window);
  const auto allFit = [&] {
    for (std::size_t i = 0; i < spec.controls.size(); ++i) {
      const auto [caption, room] = textRoom(spec.controls[i], layout.rect(spec.controls[i].rect),
                                            layout.pixels(spec.clientWidth), dpi);
      if (!caption.empty() && !fits(dc, layout.font(i), caption, room)) return false;
    }
    return true;
  };
  while (layout.scale < 5 * text && !allFit())
    layout.scale *= 1.03;
  ReleaseDC(window, dc);
  return layout;
}

}  // namespace qb::win32

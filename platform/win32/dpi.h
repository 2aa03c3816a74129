#pragma once

// Dots per inch, and what depends on them: sizes, fonts, icons and window frames. The newer
// per-monitor functions are looked up at run time, so older systems fall back to one DPI.

#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>

namespace qb::win32 {

// Asks for per-monitor DPI awareness (v2) where the system offers it.
void becomeDpiAware();

UINT dpiOfWindow(HWND window);
UINT dpiOfMonitor(HMONITOR monitor);

// A length at 96 DPI, scaled for dpi.
int scaled(int pixelsAt96, UINT dpi);
int systemMetric(int index, UINT dpi);

// The outer size of a window whose client area is width x height.
SIZE frameSize(int width, int height, DWORD style, DWORD exStyle, UINT dpi);

// Deletes a GDI object or an icon when it goes.
struct GdiDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct IconDeleter {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};
using OwnedFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiDeleter>;
using OwnedIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

// The user's text size (Settings > Accessibility > Text size): 1 for 100%, up to 2.25.
double textScale();

// The system's message font at dpi, in the size the user chose.
OwnedFont messageFont(UINT dpi);
OwnedFont namedFont(const wchar_t* family, double points, bool bold, UINT dpi);
int lineHeight(HWND window, HFONT font);
// The size of text on one line in font.
SIZE textSize(HWND window, HFONT font, const std::wstring& text);

// Registers a window class with the dialog background and the arrow cursor.
ATOM registerDialogClass(const wchar_t* name, WNDPROC procedure);

// Where a window goes centred: over its owner, or on the primary monitor's work area.
RECT centringArea(HWND owner);

// One of the program's icons (resources/resource_ids.h), drawn at size x size pixels.
OwnedIcon loadIcon(int id, int size);

}  // namespace qb::win32

// Every caption and box text fits its control whole in a message font as tall as Windows' own,
// in the three windows of a run, as each moves to a monitor of 100 to 200% scaling.

#include <windows.h>

#include "platform/win32/Win32Window.h"
#include "platform/win32/text.h"
#include "tests/stories/Story.h"

namespace qb::test {
namespace {

// The system's message font, 9-point DejaVu Sans (as tall as Segoe UI 9) while a test runs.
class MessageFont {
 public:
  MessageFont() {
    saved_.cbSize = sizeof(saved_);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(saved_), &saved_, 0);
    NONCLIENTMETRICSW metrics = saved_;
    metrics.lfMessageFont.lfHeight = -12;
    wcscpy(metrics.lfMessageFont.lfFaceName, L"DejaVu Sans");
    SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  }
  ~MessageFont() { SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof(saved_), &saved_, 0); }

 private:
  NONCLIENTMETRICSW saved_{};
};

BOOL CALLBACK expectFits(HWND child, LPARAM dpi) {
  wchar_t kind[16] = L"";
  GetClassNameW(child, kind, 16);
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(child)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(child, text.data(), int(text.size()))));
  const LONG style = GetWindowLongW(child, GWL_STYLE);
  RECT room{};
  GetClientRect(child, &room);
  if (!_wcsicmp(kind, L"EDIT")) {
    text = L"\u00c1gjpqy";
    room.right = LONG_MAX;
  } else if (!_wcsicmp(kind, L"BUTTON") && !(style & BS_ICON)) {
    const int edge = MulDiv(2, static_cast<int>(dpi), 96);  // its raised edge
    InflateRect(&room, -edge, -edge);
  } else if (_wcsicmp(kind, L"STATIC") || room.right == 0) {
    return TRUE;
  }
  HDC dc = GetDC(child);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)));
  RECT measured{};
  DrawTextW(dc, text.c_str(), int(text.size()), &measured, DT_CALCRECT | DT_SINGLELINE);
  SelectObject(dc, old);
  ReleaseDC(child, dc);
  EXPECT_TRUE(measured.right <= room.right - room.left && measured.bottom <= room.bottom - room.top)
      << windows::utf8(text) << " at " << dpi << " dpi: " << measured.right << "x"
      << measured.bottom << " in " << room.right - room.left << "x" << room.bottom - room.top;
  return TRUE;
}

class TextFits : public Story {
 protected:
  void expectFitsAtEachScale(const std::string& name) {
    HWND top = nullptr;
    for (LiveWindow* live : user().toolkit().windows()) {
      if (live->name() == name) top = static_cast<win32::Win32Window*>(live)->hwnd();
    }
    ASSERT_TRUE(top) << name;
    RECT was{};
    GetWindowRect(top, &was);
    for (const UINT dpi : {192u, 168u, 144u, 120u, 96u}) {
      RECT now{};
      // Windows suggests where the window goes on the new monitor; it is taken as it is.
      RECT suggested{was.left, was.top, was.left + 10 + MulDiv(400, int(dpi), 96),
                     was.top + MulDiv(300, int(dpi), 96)};
      if (dpi == 96) suggested = was;
      SendMessageW(top, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
      GetWindowRect(top, &now);
      EXPECT_TRUE(EqualRect(&now, &suggested)) << name << " at " << dpi;
      EnumChildWindows(top, expectFits, dpi);
    }
  }
  MessageFont font;
};

TEST_F(TextFits, InEveryWindowAtEveryScale) {
  play([&] {
    expectFitsAtEachScale("frmMain");
    user().whenOpens("frmMain2", [&] {
      expectFitsAtEachScale("frmMain2");
      user().click("frmMain2", "btnSkip");
    });
    browse([&] {
      expectFitsAtEachScale("frmGetFolder");
      user().type("frmGetFolder", "txtPathlist", temp().path());
      user().click("frmGetFolder", "btnDone");
    });
  });
}

}  // namespace
}  // namespace qb::test

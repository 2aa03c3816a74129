#include "platform/win32/dpi.h"

#include <shellscalingapi.h>

#include <algorithm>
#include <cmath>

#include "platform/windows/library.h"

namespace qb::win32 {

namespace {

using SetAwarenessContext = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, MONITOR_DPI_TYPE, UINT*, UINT*);
using GetMetricForDpi = int(WINAPI*)(int, UINT);
using AdjustForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
using ParametersForDpi = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);

UINT screenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96u;
}

}  // namespace

void becomeDpiAware() {
  static const auto set =
      windows::systemFunction<SetAwarenessContext>(L"user32.dll", "SetProcessDpiAwarenessContext");
  // Fails harmlessly when the manifest has set it already.
  if (set) set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
}

UINT dpiOfWindow(HWND window) {
  static const auto get =
      windows::systemFunction<GetDpiForWindowFn>(L"user32.dll", "GetDpiForWindow");
  const UINT dpi = get && window ? get(window) : 0;
  return dpi ? dpi : screenDpi();
}

UINT dpiOfMonitor(HMONITOR monitor) {
  static const auto get =
      windows::systemFunction<GetDpiForMonitorFn>(L"shcore.dll", "GetDpiForMonitor");
  UINT x = 0, y = 0;
  if (get && monitor && SUCCEEDED(get(monitor, MDT_EFFECTIVE_DPI, &x, &y)) && y) return y;
  return screenDpi();
}

int scaled(int pixelsAt96, UINT dpi) {
  return MulDiv(pixelsAt96, static_cast<int>(dpi), 96);
}

int systemMetric(int index, UINT dpi) {
  static const auto get =
      windows::systemFunction<GetMetricForDpi>(L"user32.dll", "GetSystemMetricsForDpi");
  if (get) return get(index, dpi);
  return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(screenDpi()));
}

SIZE frameSize(int width, int height, DWORD style, DWORD exStyle, UINT dpi) {
  static const auto adjust =
      windows::systemFunction<AdjustForDpi>(L"user32.dll", "AdjustWindowRectExForDpi");
  RECT rect{0, 0, width, height};
  if (!adjust || !adjust(&rect, style, FALSE, exStyle, dpi)) {
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  }
  return {rect.right - rect.left, rect.bottom - rect.top};
}

OwnedFont messageFont(UINT dpi) {
  static const auto get =
      windows::systemFunction<ParametersForDpi>(L"user32.dll", "SystemParametersInfoForDpi");
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (get && get(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi)) {
    return OwnedFont(CreateFontIndirectW(&metrics.lfMessageFont));
  }
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    LOGFONTW font = metrics.lfMessageFont;
    font.lfHeight = MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(screenDpi()));
    return OwnedFont(CreateFontIndirectW(&font));
  }
  return namedFont(L"Segoe UI", 9 * textScale(), false, dpi);
}

OwnedFont namedFont(const wchar_t* family, double points, bool bold, UINT dpi) {
  return OwnedFont(CreateFontW(-static_cast<int>(std::lround(points * dpi / 72)), 0, 0, 0,
                               bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                               DEFAULT_PITCH | FF_DONTCARE, family));
}

double textScale() {
  static const auto get =
      windows::systemFunction<decltype(&RegGetValueW)>(L"advapi32.dll", "RegGetValueW");
  DWORD percent = 100, size = sizeof percent;
  if (!get || get(HKEY_CURRENT_USER, L"Software\\Microsoft\\Accessibility", L"TextScaleFactor",
                  RRF_RT_REG_DWORD, nullptr, &percent, &size) != ERROR_SUCCESS) {
    return 1;
  }
  return std::clamp<DWORD>(percent, 100, 225) / 100.0;
}

SIZE textSize(HWND window, HFONT font, const std::wstring& text) {
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, font);
  RECT measured{0, 0, 0, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured,
            DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return {measured.right, measured.bottom};
}

int lineHeight(HWND window, HFONT font) {
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return metrics.tmHeight;
}

OwnedIcon loadIcon(int id, int size) {
  return OwnedIcon(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                                 IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

ATOM registerDialogClass(const wchar_t* name, WNDPROC procedure) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = name;
  return RegisterClassExW(&windowClass);
}

RECT centringArea(HWND owner) {
  RECT area{};
  if (owner) {
    GetWindowRect(owner, &area);
    return area;
  }
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
  return monitor.rcWork;
}

}  // namespace qb::win32

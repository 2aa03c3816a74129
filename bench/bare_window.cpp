// The yardsticks for start-up: the least a program does to show step 1's window, built from
// the form's own table (caption, client size, centred on the screen), watched as the program
// is. Qt: the window with its three controls as QPushButton and QLineEdit. Win32: the bare
// window, and with QB_BARE_CONTROLS its three controls too, in the message font.

#include <cmath>

#include "bench/first_frame.h"
#include "wizard/frmMain.h"

#ifdef _WIN32
#include <commctrl.h>

#include <string>

int main() {
  const qb::bench::FirstFrame watch(qb::frmMain::kWindow);
  const qb::WindowSpec& table = qb::frmMain::kWindow;
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const auto pixels = [](int twips) { return MulDiv(twips, 96, 1440); };
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = L"BareWindow";
  if (!RegisterClassW(&windowClass)) return 1;

  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  RECT frame{0, 0, pixels(table.clientWidth), pixels(table.clientHeight)};
  AdjustWindowRectEx(&frame, style, FALSE, WS_EX_DLGMODALFRAME);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  const std::wstring caption(table.caption.begin(), table.caption.end());
  HWND window = CreateWindowExW(WS_EX_DLGMODALFRAME, L"BareWindow", caption.c_str(), style,
                                (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                                (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
                                nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
#ifdef QB_BARE_CONTROLS
  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  const HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
  HWND first = nullptr;
  for (const qb::ControlSpec& c : table.controls) {
    const bool button = c.kind == qb::ControlKind::Button;
    const std::wstring text(c.caption.begin(), c.caption.end());
    const DWORD own = button ? BS_PUSHBUTTON : ES_LEFT | ES_AUTOHSCROLL | ES_READONLY;
    HWND child = CreateWindowExW(button ? 0 : WS_EX_CLIENTEDGE, button ? L"BUTTON" : L"EDIT",
                                 text.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | own,
                                 pixels(c.rect.left), pixels(c.rect.top), pixels(c.rect.width),
                                 pixels(c.rect.height), window, nullptr, instance, nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (!first) first = child;
  }
  ShowWindow(window, SW_SHOW);
  SetFocus(first);
#else
  ShowWindow(window, SW_SHOW);
#endif
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

#else
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  const qb::bench::FirstFrame watch(qb::frmMain::kWindow);
  const qb::WindowSpec& table = qb::frmMain::kWindow;
  const QScreen* screen = QGuiApplication::primaryScreen();
  const double perTwip = (screen ? screen->logicalDotsPerInch() : 96.0) / 1440.0;
  const auto pixels = [perTwip](int twips) {
    return static_cast<int>(std::lround(twips * perTwip));
  };

  QWidget window;
  window.setObjectName(QString::fromStdString(table.name));
  window.setWindowTitle(QString::fromStdString(table.caption));
  window.setFixedSize(pixels(table.clientWidth), pixels(table.clientHeight));
  for (const qb::ControlSpec& c : table.controls) {
    QWidget* control =
        c.kind == qb::ControlKind::Button
            ? static_cast<QWidget*>(new QPushButton(QString::fromStdString(c.caption), &window))
            : new QLineEdit(&window);
    control->setGeometry(pixels(c.rect.left), pixels(c.rect.top), pixels(c.rect.width),
                         pixels(c.rect.height));
  }
  if (screen) {
    QRect frame(QPoint(), window.size());
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
  }
  window.show();
  return QApplication::exec();
}
#endif

#pragma once

// Catches the first frame that step 1's window (or a yardstick made from its table) paints,
// prints when that frame was done as Unix-clock microseconds ("frame_us=..."), and ends the
// process at once: only the time to the first frame is wanted. The program and its yardsticks
// use this one watch, so they are measured alike.

#include <cstdio>
#include <cstdlib>

#include "platform/window_spec.h"

#ifdef _WIN32
#include <windows.h>

#include <string>

namespace qb::bench {

// 100 ns ticks since 1601 as Unix microseconds.
inline long long unixMicros(FILETIME time) {
  const unsigned long long ticks =
      (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  return static_cast<long long>((ticks - 116444736000000000ull) / 10);
}

// A thread WH_CBT hook sees the top-level window with the table's caption made, before its
// first message, and subclasses it; at its first WM_PAINT the rest of the frame (each child
// paints in a WM_PAINT of its own) is painted at once, and the time is taken. Also prints when
// Windows says the process was made ("created_us=...").
class FirstFrame {
 public:
  explicit FirstFrame(const WindowSpec& table) {
    caption_.assign(table.caption.begin(), table.caption.end());  // ASCII captions
    hook_ = SetWindowsHookExW(WH_CBT, onCbt, nullptr, GetCurrentThreadId());
  }

 private:
  static inline std::wstring caption_;
  static inline HHOOK hook_ = nullptr;
  static inline WNDPROC original_ = nullptr;

  static LRESULT CALLBACK onCbt(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && !original_) {
      const CREATESTRUCTW* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
      if (!(create->style & WS_CHILD) && create->lpszName && !IS_INTRESOURCE(create->lpszName) &&
          caption_ == create->lpszName) {
        original_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
            reinterpret_cast<HWND>(wParam), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(watch)));
      }
    }
    const LRESULT result = CallNextHookEx(hook_, code, wParam, lParam);
    // Found: the windows made after it cost nothing more.
    if (original_) UnhookWindowsHookEx(hook_);
    return result;
  }

  static LRESULT CALLBACK watch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CallWindowProcW(original_, hwnd, message, wParam, lParam);
    if (message != WM_PAINT) return result;
    RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    FILETIME now{}, created{}, exited{}, kernel{}, user{};
    GetSystemTimePreciseAsFileTime(&now);
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    char line[96];
    const int length = std::snprintf(line, sizeof line, "frame_us=%lld created_us=%lld\n",
                                     unixMicros(now), unixMicros(created));
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line, static_cast<DWORD>(length), &written, nullptr);
    TerminateProcess(GetCurrentProcess(), 0);
    return result;
  }
};

}  // namespace qb::bench

#else
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <chrono>

namespace qb::bench {

// An event filter on the application: at the first paint of a widget in the top-level window
// whose object name is the table's, it queues the report, which runs once that painting pass
// (the window and its children, and the flush to the screen) is over.
class FirstFrame : public QObject {
 public:
  explicit FirstFrame(const WindowSpec& table) : name_(QString::fromStdString(table.name)) {
    qApp->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (seen_ || event->type() != QEvent::Paint || !watched->isWidgetType()) return false;
    if (static_cast<QWidget*>(watched)->window()->objectName() != name_) return false;
    seen_ = true;
    QTimer::singleShot(0, qApp, [] {
      using std::chrono::microseconds, std::chrono::system_clock;
      const auto now = duration_cast<microseconds>(system_clock::now().time_since_epoch());
      std::printf("frame_us=%lld\n", static_cast<long long>(now.count()));
      std::fflush(stdout);
      std::_Exit(0);
    });
    return false;
  }

 private:
  QString name_;
  bool seen_ = false;
};

}  // namespace qb::bench
#endif

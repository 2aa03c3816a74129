#pragma once

// Catches the first frame of the top-level window with a given caption and reports it on
// stdout, then ends the process at once. The program's probe and the bare window both use it,
// so that they are measured in the same way. It needs user32 and gdi32 only: the bare window
// loads nothing for it that it would not load anyway.

#include <windows.h>

#include <cstddef>
#include <cstdio>
#include <cwchar>

namespace qb::bench::win32 {

// 100 ns units since 1601, as Windows keeps time.
inline unsigned long long ticks(FILETIME time) {
  return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

inline unsigned long long preciseNow() {
  FILETIME now;
  GetSystemTimePreciseAsFileTime(&now);
  return ticks(now);
}

class FirstPaintProbe {
 public:
  explicit FirstPaintProbe(const wchar_t* caption) {
    State& s = state();
    s.caption = caption;
    mark("main");
    // A thread hook sees the window made, before its first message; it goes once it has.
    s.hook = SetWindowsHookExW(WH_CBT, onCbt, nullptr, GetCurrentThreadId());
  }
  FirstPaintProbe(const FirstPaintProbe&) = delete;
  FirstPaintProbe& operator=(const FirstPaintProbe&) = delete;

  // Notes the time a stage of start-up ended, reported with the first frame, to tell where the
  // time goes. name: a literal, one word.
  static void mark(const char* name) {
    State& s = state();
    if (s.marks < kMarks) s.mark[s.marks++] = {name, preciseNow()};
  }

 private:
  static constexpr int kMarks = 8;
  struct Mark {
    const char* name;
    unsigned long long time;
  };
  struct State {
    const wchar_t* caption = nullptr;
    HHOOK hook = nullptr;
    HWND window = nullptr;
    WNDPROC original = nullptr;
    Mark mark[kMarks] = {};
    int marks = 0;
  };

  static State& state() {
    static State s;
    return s;
  }

  static LRESULT CALLBACK onCbt(int code, WPARAM wParam, LPARAM lParam) {
    State& s = state();
    const HHOOK hook = s.hook;
    if (code != HCBT_CREATEWND || s.window) return CallNextHookEx(hook, code, wParam, lParam);
    const CREATESTRUCTW* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
    const wchar_t* name = create->lpszName;
    if ((create->style & WS_CHILD) || !name || IS_INTRESOURCE(name) ||
        std::wcscmp(name, s.caption) != 0) {
      return CallNextHookEx(hook, code, wParam, lParam);
    }
    s.window = reinterpret_cast<HWND>(wParam);
    s.original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(s.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(watch)));
    const LRESULT result = CallNextHookEx(hook, code, wParam, lParam);
    UnhookWindowsHookEx(hook);
    s.hook = nullptr;
    return result;
  }

  static LRESULT CALLBACK watch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const State& s = state();
    if (message != WM_PAINT) return CallWindowProcW(s.original, hwnd, message, wParam, lParam);
    const unsigned long long firstPaint = preciseNow();
    CallWindowProcW(s.original, hwnd, message, wParam, lParam);
    // Each child paints in a WM_PAINT of its own, after its parent's: the rest of this first
    // frame is painted here, and nothing after it.
    RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    report(firstPaint, preciseNow());
  }

  [[noreturn]] static void report(unsigned long long firstPaint, unsigned long long frameDone) {
    FILETIME created{}, exited{}, kernel{}, user{};
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    char line[600];
    int length =
        std::snprintf(line, sizeof line, "created=%llu first_paint=%llu frame_done=%llu cpu=%llu",
                      ticks(created), firstPaint, frameDone, ticks(kernel) + ticks(user));
    const State& s = state();
    // Room is kept for the line's end.
    for (int i = 0; i < s.marks && length < static_cast<int>(sizeof line) - 48; ++i) {
      length += std::snprintf(line + length, sizeof line - static_cast<std::size_t>(length),
                              " %s=%llu", s.mark[i].name, s.mark[i].time);
    }
    line[length++] = '\n';
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line, static_cast<DWORD>(length), &written, nullptr);
    // Only the time to the first frame is wanted; tearing the program down would add nothing.
    TerminateProcess(GetCurrentProcess(), 0);
    ExitProcess(0);
  }
};

}  // namespace qb::bench::win32

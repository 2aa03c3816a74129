// The folder list on large folders under Windows: opening a folder of 10,000 and of 100,000
// subfolders in the Win32 folder list (read, sorted ignoring case, shown and painted), against
// a FindFirstFileW loop and a sort on CompareStringOrdinal ignoring case of the same names, in
// the same process and interleaved.
//
// Usage: dirlist_bench --root FOLDER [--reps N] [--sizes N,N,...]
//   FOLDER holds a subfolder nN with N empty subfolders for each size. dirlist.sh makes them
//   from Linux, which is far quicker than making them through wine.

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/files_win.h"
#include "platform/win32/DirListBox.h"
#include "platform/win32/Win32Toolkit.h"
#include "platform/win32/Win32Window.h"

namespace {

using qb::win32::DirListBox;
using qb::win32::Win32Window;

double nowMs() {
  static const double perMs = [] {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER count;
  QueryPerformanceCounter(&count);
  return static_cast<double>(count.QuadPart) / perMs;
}

double median(std::vector<double> values) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  const std::size_t mid = values.size() / 2;
  return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2.0;
}

// ---- The yardstick ----------------------------------------------------------------------

// What any Windows program must do at least: find the names and sort them ignoring case.
std::vector<std::wstring> findAndSort(const std::wstring& folder, double* sortMs = nullptr) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  const HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) throw std::runtime_error("FindFirstFileW failed");
  do {
    const DWORD attributes = data.dwFileAttributes;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || (attributes & FILE_ATTRIBUTE_HIDDEN)) continue;
    const wchar_t* name = data.cFileName;
    if (name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'))) continue;
    names.emplace_back(name);
  } while (FindNextFileW(find, &data));
  FindClose(find);
  const double sorting = nowMs();
  std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                static_cast<int>(b.size()), TRUE) == CSTR_LESS_THAN;
  });
  if (sortMs) *sortMs = nowMs() - sorting;
  return names;
}

// ---- The list under test ----------------------------------------------------------------

// The folder picker's list at its size in its window, alone.
const qb::WindowSpec kWindow{
    .name = "frmListBench",
    .caption = "Folder list",
    .clientWidth = 3540,
    .clientHeight = 6045,
    .closeBox = true,
    .inTaskbar = true,
    .placement = qb::Placement::CenterScreen,
    .icon = qb::WindowIcon::Folder,
    .controls = {{"Dir1", qb::ControlKind::DirList, "", "", {60, 480, 3315, 4140}}},
};

class NoEvents final : public qb::WindowEvents {
 public:
  void clicked(int) override {}
  void changed(int) override {}
  void closeRequested() override {}
  void dropped(const std::vector<std::string>&) override {}
};

struct Counts {
  int paints = 0;  // WM_PAINT of the list
  int rows = 0;    // rows drawn, WM_DRAWITEM of the window
};

LRESULT CALLBACK countPaints(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR data) {
  if (message == WM_PAINT) ++reinterpret_cast<Counts*>(data)->paints;
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK countRows(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                           DWORD_PTR data) {
  if (message == WM_DRAWITEM) ++reinterpret_cast<Counts*>(data)->rows;
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

// Whatever is queued: the list's own posted work, paints, the window manager's messages.
void pumpPending() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// Subclass ids above the list's own.
constexpr UINT_PTR kCounterId = 0x51;

struct ListWindow {
  ListWindow() {
    live = toolkit.createWindow(kWindow, events);
    window = static_cast<Win32Window*>(live.get());
    list = window->dirList("Dir1");
    if (!list) throw std::runtime_error("no folder list in the window");
    SetWindowSubclass(list->hwnd(), countPaints, kCounterId, reinterpret_cast<DWORD_PTR>(&counts));
    SetWindowSubclass(window->hwnd(), countRows, kCounterId, reinterpret_cast<DWORD_PTR>(&counts));
    live->show(nullptr);
    const double deadline = nowMs() + 10'000;
    while (counts.paints == 0 && nowMs() < deadline) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
      pumpPending();
    }
    if (counts.paints == 0) throw std::runtime_error("the list never painted");
  }
  ~ListWindow() {
    RemoveWindowSubclass(list->hwnd(), countPaints, kCounterId);
    RemoveWindowSubclass(window->hwnd(), countRows, kCounterId);
  }
  ListWindow(const ListWindow&) = delete;
  ListWindow& operator=(const ListWindow&) = delete;

  qb::win32::Win32Toolkit toolkit;
  NoEvents events;
  std::unique_ptr<qb::LiveWindow> live;
  Win32Window* window = nullptr;
  DirListBox* list = nullptr;
  Counts counts;
};

struct Phases {
  double setPath = 0, listed = 0, painted = 0, settled = 0;
  double total() const { return setPath + listed + painted + settled; }
};

// Opens folder in the list the way a user's double click ends up doing, and paints it.
Phases openInList(ListWindow& w, const std::string& folder, const std::string& elsewhere,
                  int expectedRows) {
  // Start from another folder each time, or setPath would see nothing to do.
  w.list->setPath(elsewhere);
  w.list->ensureListed();
  w.live->repaint(0);
  pumpPending();
  const Counts before = w.counts;

  Phases p;
  const double t0 = nowMs();
  w.list->setPath(folder);
  const double t1 = nowMs();
  w.list->ensureListed();
  const double t2 = nowMs();
  // What the form's refresh does: paint at once, not at the next idle moment.
  w.live->repaint(0);
  const double t3 = nowMs();
  // Whatever the list left for the message loop is part of showing it.
  pumpPending();
  const double t4 = nowMs();
  p.setPath = t1 - t0;
  p.listed = t2 - t1;
  p.painted = t3 - t2;
  p.settled = t4 - t3;

  if (w.counts.paints == before.paints) throw std::runtime_error("the list did not paint");
  if (w.counts.rows == before.rows) throw std::runtime_error("the list drew no rows");
  const auto shown = static_cast<int>(SendMessageW(w.list->hwnd(), LB_GETCOUNT, 0, 0));
  if (w.list->rowCount() != expectedRows || shown != expectedRows) {
    throw std::runtime_error("the list shows " + std::to_string(shown) + " rows, not " +
                             std::to_string(expectedRows));
  }
  return p;
}

std::vector<int> parseSizes(const std::string& text) {
  std::vector<int> sizes;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t comma = text.find(',', start);
    if (comma == std::string::npos) comma = text.size();
    sizes.push_back(std::atoi(text.substr(start, comma - start).c_str()));
    start = comma + 1;
  }
  return sizes;
}

int timing(const std::string& root, int reps, const std::vector<int>& sizes) {
  int result = 0;
  ListWindow w;
  std::printf(
      "\nopening a folder in the Win32 folder list vs FindFirstFileW + "
      "sort(CompareStringOrdinal, ignoring case), under wine, %d runs each, interleaved\n",
      reps);
  for (int size : sizes) {
    const std::string folder = qb::files::folderPath(root + "\\n" + std::to_string(size));
    const std::wstring plainFolder = qb::files::win::widen(folder);
    const int rows = static_cast<int>(qb::files::ancestors(folder).size()) + size;
    std::vector<double> list, baseline, sorting, subfolders, setPath, listed, painted, settled;
    auto runList = [&](bool record) {
      const Phases p = openInList(w, folder, root, rows);
      if (!record) return;
      list.push_back(p.total());
      setPath.push_back(p.setPath);
      listed.push_back(p.listed);
      painted.push_back(p.painted);
      settled.push_back(p.settled);
    };
    auto runBaseline = [&](bool record) {
      double sortMs = 0;
      const double t0 = nowMs();
      const std::vector<std::wstring> names = findAndSort(plainFolder, &sortMs);
      const double t1 = nowMs();
      if (names.size() != static_cast<std::size_t>(size)) {
        throw std::runtime_error("FindFirstFileW found " + std::to_string(names.size()));
      }
      if (!record) return;
      baseline.push_back(t1 - t0);
      sorting.push_back(sortMs);
    };
    // The list's own reading and sorting, without the control, to tell where time goes.
    auto runSubfolders = [&](bool record) {
      const double t0 = nowMs();
      const std::vector<std::string> names = qb::files::subfolders(folder);
      const double t1 = nowMs();
      if (names.size() != static_cast<std::size_t>(size)) {
        throw std::runtime_error("subfolders found " + std::to_string(names.size()));
      }
      if (record) subfolders.push_back(t1 - t0);
    };
    runList(false);
    runBaseline(false);
    runSubfolders(false);
    for (int rep = 0; rep < reps; ++rep) {
      // Alternating the order keeps a steady drift of the machine from favouring either.
      if (rep % 2) {
        runBaseline(true);
        runList(true);
      } else {
        runList(true);
        runBaseline(true);
      }
      runSubfolders(true);
    }
    const double ratio = median(list) / median(baseline);
    std::printf("  %7d folders: list %9.2f ms   find+sort %8.2f ms   ratio %6.2f  (goal <= 2) %s\n",
                size, median(list), median(baseline), ratio, ratio <= 2.0 ? "PASS" : "FAIL");
    std::printf(
        "                  list phases (medians): setPath %.2f, ensureListed %.2f, repaint %.2f, "
        "pending messages %.2f ms\n",
        median(setPath), median(listed), median(painted), median(settled));
    std::printf(
        "                  files::subfolders alone %.2f ms; find+sort's sort alone %.2f ms\n",
        median(subfolders), median(sorting));
    std::fflush(stdout);
    if (ratio > 2.0) result = 1;
  }
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  std::string root;
  int reps = 5;
  std::vector<int> sizes{10'000, 100'000};
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--root") root = argv[i + 1];
    if (option == "--reps") reps = std::atoi(argv[i + 1]);
    if (option == "--sizes") sizes = parseSizes(argv[i + 1]);
  }
  if (root.empty()) {
    std::fprintf(stderr, "usage: dirlist_bench --root FOLDER [--reps N] [--sizes N,N,...]\n");
    return 2;
  }
  try {
    return timing(qb::files::folderPath(root), reps, sizes);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "dirlist_bench: %s\n", e.what());
    return 2;
  }
}

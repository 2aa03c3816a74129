// Opening a folder of 10,000 and of 100,000 subfolders in the picker's real list, through its
// form and the program's main loop, until the list has painted it; against reading the same
// names (readdir, or FindFirstFileW) and sorting them ordinally ignoring case, in the same
// process, interleaved.
//
// Usage: dirlist ROOT [REPS]   ROOT holds n10000 and n100000, and little else: the list goes
// back to it, untimed, before each opening.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "wizard/Quenbrook.h"

#ifdef _WIN32
#include <windows.h>

#include <commctrl.h>
#else
#include <dirent.h>
#include <strings.h>

#include <QAbstractItemView>
#include <QApplication>
#endif

namespace {

#ifdef _WIN32
constexpr double kGoal = 2.0;
constexpr char kSeparator = '\\';
constexpr const char* kYardstick = "FindFirstFileW + sort";

// The bench's paths and captions are ASCII.
std::wstring wide(const std::string& text) {
  return std::wstring(text.begin(), text.end());
}

// What any Windows program must do at least: find the subfolders (hidden ones, "." and ".."
// left out, as the list does) and sort them ordinally ignoring case.
std::size_t readAndSort(const std::string& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  const HANDLE find = FindFirstFileW((wide(folder) + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return 0;
  do {
    const wchar_t* name = data.cFileName;
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN)) {
      continue;
    }
    if (name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'))) continue;
    names.emplace_back(name);
  } while (FindNextFileW(find, &data));
  FindClose(find);
  std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                static_cast<int>(b.size()), TRUE) == CSTR_LESS_THAN;
  });
  return names.size();
}

// Notes the rows of the picker's list view each time it has painted.
struct ListPaints {
  ListPaints() {
    const HWND window = FindWindowW(nullptr, wide(qb::frmGetFolder::kWindow.caption).c_str());
    EnumChildWindows(window, findList, reinterpret_cast<LPARAM>(&list));
    if (!list || !SetWindowSubclass(list, painted, 1, reinterpret_cast<DWORD_PTR>(this))) {
      throw std::runtime_error("the picker's list was not found");
    }
  }
  static BOOL CALLBACK findList(HWND child, LPARAM found) {
    wchar_t name[16];
    if (!GetClassNameW(child, name, 16) || lstrcmpiW(name, WC_LISTVIEWW) != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = child;
    return FALSE;
  }
  static LRESULT CALLBACK painted(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR self) {
    const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
    if (message == WM_PAINT) {
      reinterpret_cast<ListPaints*>(self)->rows =
          static_cast<long long>(SendMessageW(hwnd, LVM_GETITEMCOUNT, 0, 0));
    }
    return result;
  }
  HWND list = nullptr;
  long long rows = -1;
};

#else
constexpr double kGoal = 3.0;
constexpr char kSeparator = '/';
constexpr const char* kYardstick = "readdir + sort";

// What any program must do at least: read the subfolders (hidden ones left out, as the list
// does) and sort them ordinally ignoring case.
std::size_t readAndSort(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = opendir(folder.c_str());
  if (!dir) return 0;
  while (const dirent* entry = readdir(dir)) {
    if (entry->d_name[0] != '.' && entry->d_type == DT_DIR) names.emplace_back(entry->d_name);
  }
  closedir(dir);
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return strcasecmp(a.c_str(), b.c_str()) < 0;
  });
  return names.size();
}

// Notes the rows of the picker's list each time its viewport is painted.
class ListPaints : public QObject {
 public:
  ListPaints() { qApp->installEventFilter(this); }
  long long rows = -1;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Paint) return false;
    const auto* view = qobject_cast<QAbstractItemView*>(watched->parent());
    if (view && view->viewport() == watched && view->objectName() == "Dir1" &&
        view->window()->objectName() == QString::fromStdString(qb::frmGetFolder::kWindow.name)) {
      rows = view->model()->rowCount();
    }
    return false;
  }
};
#endif

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t mid = values.size() / 2;
  return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2.0;
}

int measure(qb::Toolkit& toolkit, qb::Quenbrook& program, const std::string& root, int reps) {
  program.ui.show(program.getFolder);
  ListPaints paints;
  // Moves the list to folder and runs the main loop until the list has painted that folder's
  // rows: its subfolders and the folders above it.
  const auto open = [&](const std::string& folder, long long subfolders) {
    paints.rows = -1;
    const Clock::time_point start = Clock::now();
    program.getFolder.Dir1.setPath(folder);
    toolkit.runUntil([&] { return paints.rows > subfolders && paints.rows < subfolders + 100; });
    return msSince(start);
  };
  open(root, 2);
  std::printf("folder list: the picker's list vs %s, %d interleaved openings each (ms, medians)\n",
              kYardstick, reps);
  int status = 0;
  for (const int size : {10'000, 100'000}) {
    const std::string folder = root + kSeparator + "n" + std::to_string(size);
    std::vector<double> list, yardstick;
    // The first round warms the caches, untimed.
    for (int rep = -1; rep < reps; ++rep) {
      const auto readSorted = [&] {
        const Clock::time_point start = Clock::now();
        if (readAndSort(folder) != static_cast<std::size_t>(size)) {
          throw std::runtime_error(folder + " does not hold " + std::to_string(size) + " folders");
        }
        if (rep >= 0) yardstick.push_back(msSince(start));
      };
      if (rep % 2) readSorted();
      const double opened = open(folder, size);
      if (rep >= 0) list.push_back(opened);
      if (!(rep % 2)) readSorted();
      open(root, 2);
    }
    const double ratio = median(list) / median(yardstick);
    std::printf("  %6d folders: list %8.1f  %s %7.1f  ratio %.2f (goal <= %.0f) %s\n", size,
                median(list), kYardstick, median(yardstick), ratio, kGoal,
                ratio <= kGoal ? "PASS" : "FAIL");
    if (ratio > kGoal) status = 1;
  }
  std::fflush(stdout);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::string root = argv[1];
  const int reps = argc > 2 ? std::atoi(argv[2]) : 5;
  // A list that never paints must not hang the run.
  std::thread([] {
    std::this_thread::sleep_for(std::chrono::minutes(10));
    std::fputs("dirlist: no paint within ten minutes\n", stderr);
    std::_Exit(2);
  }).detach();
  int status = 2;
  int args = 1;
  const int ran = qb::runQuenbrook(args, argv, [&](qb::Toolkit& toolkit, qb::Quenbrook& program) {
    status = measure(toolkit, program, root, reps);
    toolkit.dispatch([&] { program.ui.end(); });
  });
  return ran ? ran : status;
}

// The folder list on large folders: opening a folder of 10,000 and of 100,000 subfolders in
// qb::DirListWidget (read, sorted ignoring case, shown and painted), against reading and
// sorting the same names with readdir and std::sort on strcasecmp, in the same run. Then the
// peak memory of a process with the 100,000-folder list open, each in a fresh process.
//
// Usage: dirlist_bench [--reps N] [--sizes N,N,...]
//        dirlist_bench --memory-list FOLDER       (internal: one memory measurement)
//        dirlist_bench --memory-baseline FOLDER   (internal: the same for readdir + sort)

#include <dirent.h>
#include <strings.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_util.h"
#include "platform/files.h"
#include "platform/qt/DirListWidget.h"
#include "platform/qt/QtToolkit.h"

namespace {

using qb::bench::median;
using qb::bench::nowNs;
using qb::bench::statusKb;
using qb::bench::toMs;

// ---- The yardstick ----------------------------------------------------------------------

// What any program must do at least: read the names and sort them ignoring case.
std::vector<std::string> readAndSort(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = opendir(folder.c_str());
  if (!dir) throw std::runtime_error("opendir " + folder);
  while (dirent* entry = readdir(dir)) {
    if (entry->d_name[0] == '.') continue;
    if (entry->d_type == DT_DIR) names.emplace_back(entry->d_name);
  }
  closedir(dir);
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return strcasecmp(a.c_str(), b.c_str()) < 0;
  });
  return names;
}

// Counts without keeping the names, so that the count leaves no memory behind.
std::size_t countFolders(const std::string& folder) {
  std::size_t count = 0;
  DIR* dir = opendir(folder.c_str());
  if (!dir) throw std::runtime_error("opendir " + folder);
  while (dirent* entry = readdir(dir)) {
    if (entry->d_name[0] != '.' && entry->d_type == DT_DIR) ++count;
  }
  closedir(dir);
  return count;
}

// ---- The list under test ----------------------------------------------------------------

int pixels(int twips, double perTwip) {
  return static_cast<int>(std::lround(twips * perTwip));
}

// Counts the paints of the list's viewport, to be sure each timed opening painted.
class PaintCounter : public QObject {
 public:
  int paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

// The folder picker's list at its usual size, in a shown top-level window.
struct ListWindow {
  ListWindow() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double perTwip = (screen ? screen->logicalDotsPerInch() : 96.0) / 1440.0;
    window.setFixedSize(pixels(3540, perTwip), pixels(6045, perTwip));
    list = new qb::DirListWidget(&window);
    list->setGeometry(pixels(60, perTwip), pixels(480, perTwip), pixels(3315, perTwip),
                      pixels(4140, perTwip));
    list->viewport()->installEventFilter(&counter);
    window.show();
    const std::int64_t deadline = nowNs() + 5'000'000'000;
    while (!(window.windowHandle() && window.windowHandle()->isExposed()) && nowNs() < deadline) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    QCoreApplication::processEvents();
  }

  QWidget window;
  qb::DirListWidget* list = nullptr;
  PaintCounter counter;
};

struct Phases {
  double setPath = 0, listed = 0, painted = 0, settled = 0;
  double total() const { return setPath + listed + painted + settled; }
};

// Opens folder in the list the way a user's double click ends up doing, and paints it.
Phases openInList(ListWindow& w, const std::string& folder, const std::string& elsewhere,
                  std::size_t expectedRows) {
  // Start from another folder each time, or setPath would see nothing to do.
  w.list->setPath(elsewhere);
  w.list->ensureListed();
  w.list->repaint();
  QCoreApplication::processEvents();
  const int paintsBefore = w.counter.paints;

  Phases p;
  const std::int64_t t0 = nowNs();
  w.list->setPath(folder);
  const std::int64_t t1 = nowNs();
  w.list->ensureListed();
  const std::int64_t t2 = nowNs();
  w.list->repaint();
  const std::int64_t t3 = nowNs();
  // Whatever the list left for the event loop (a deferred layout, a queued listing) is part
  // of showing it.
  QCoreApplication::processEvents();
  const std::int64_t t4 = nowNs();
  p.setPath = toMs(t1 - t0);
  p.listed = toMs(t2 - t1);
  p.painted = toMs(t3 - t2);
  p.settled = toMs(t4 - t3);

  const auto rows = static_cast<std::size_t>(w.list->model()->rowCount());
  if (w.counter.paints == paintsBefore) throw std::runtime_error("the list did not paint");
  if (rows != expectedRows) {
    throw std::runtime_error("the list shows " + std::to_string(rows) + " rows, not " +
                             std::to_string(expectedRows));
  }
  return p;
}

void forceOffscreen() {
  // The offscreen platform needs no display; a caller may still choose another.
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

// ---- Memory, each figure from a fresh process -------------------------------------------

int memoryOfList(int argc, char** argv, const std::string& folder) {
  forceOffscreen();
  QApplication application(argc, argv);
  qb::QtToolkit toolkit;
  ListWindow w;
  const long rssBefore = statusKb("VmRSS"), hwmBefore = statusKb("VmHWM");
  const std::size_t rows = qb::files::ancestors(folder).size() + countFolders(folder);
  // Start-up may have peaked above what stays in use; the growth is measured from here.
  if (FILE* clear = std::fopen("/proc/self/clear_refs", "w")) {
    std::fputs("5", clear);
    std::fclose(clear);
  }
  const long hwmReset = statusKb("VmHWM");
  w.list->setPath(folder);
  w.list->ensureListed();
  w.list->repaint();
  QCoreApplication::processEvents();
  if (static_cast<std::size_t>(w.list->model()->rowCount()) != rows) return 3;
  std::printf(
      "rss_before_kb=%ld hwm_before_kb=%ld hwm_reset_kb=%ld hwm_after_kb=%ld "
      "rss_after_kb=%ld\n",
      rssBefore, hwmBefore, hwmReset, statusKb("VmHWM"), statusKb("VmRSS"));
  std::fflush(stdout);
  std::_Exit(0);
}

int memoryOfBaseline(const std::string& folder) {
  const long rssBefore = statusKb("VmRSS"), hwmBefore = statusKb("VmHWM");
  const std::vector<std::string> names = readAndSort(folder);
  std::printf(
      "rss_before_kb=%ld hwm_before_kb=%ld hwm_reset_kb=%ld hwm_after_kb=%ld "
      "rss_after_kb=%ld names=%zu\n",
      rssBefore, hwmBefore, hwmBefore, statusKb("VmHWM"), statusKb("VmRSS"), names.size());
  std::fflush(stdout);
  std::_Exit(0);
}

struct Memory {
  long rssBefore = -1, hwmBefore = -1, hwmReset = -1, hwmAfter = -1, rssAfter = -1;
};

Memory measureMemoryInChild(const std::string& mode, const std::string& folder) {
  int out[2];
  if (pipe(out) != 0) throw std::runtime_error("pipe failed");
  const pid_t child = fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    dup2(out[1], STDOUT_FILENO);
    close(out[0]);
    close(out[1]);
    std::string self = "/proc/self/exe";
    std::string modeArg = mode;
    std::string folderArg = folder;
    char* args[] = {self.data(), modeArg.data(), folderArg.data(), nullptr};
    execv("/proc/self/exe", args);
    _exit(127);
  }
  close(out[1]);
  std::string text;
  char buffer[512];
  for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) {
    text.append(buffer, static_cast<std::size_t>(n));
  }
  close(out[0]);
  int status = 0;
  waitpid(child, &status, 0);
  Memory m;
  if (std::sscanf(text.c_str(),
                  "rss_before_kb=%ld hwm_before_kb=%ld hwm_reset_kb=%ld hwm_after_kb=%ld "
                  "rss_after_kb=%ld",
                  &m.rssBefore, &m.hwmBefore, &m.hwmReset, &m.hwmAfter, &m.rssAfter) != 5) {
    throw std::runtime_error(mode + " gave no figures (status " + std::to_string(status) + ")");
  }
  return m;
}

double mib(long kb) {
  return static_cast<double>(kb) / 1024.0;
}

// ---- Timing -----------------------------------------------------------------------------

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

int timing(int argc, char** argv) {
  int reps = 5;
  std::vector<int> sizes{10'000, 100'000};
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--reps") reps = std::atoi(argv[i + 1]);
    if (option == "--sizes") sizes = parseSizes(argv[i + 1]);
  }

  const std::string scratch = qb::bench::makeScratch("quenbrook-dirlist");
  int result = 0;
  try {
    for (int size : sizes) {
      std::printf("folder list: making %d folders in %s ...\n", size, scratch.c_str());
      std::fflush(stdout);
      qb::bench::makeTree(scratch + "/n" + std::to_string(size), size);
    }
    // The list starts in the working directory; the scratch folder keeps that small.
    if (chdir(scratch.c_str()) != 0) throw std::runtime_error("chdir " + scratch);

    forceOffscreen();
    QApplication application(argc, argv);
    qb::QtToolkit toolkit;  // also loads the list's folder pictures, as the program does
    ListWindow w;

    std::printf(
        "\nopening a folder in the folder list vs readdir + std::sort(strcasecmp), "
        "QT_QPA_PLATFORM=%s, %d runs each, interleaved\n",
        qgetenv("QT_QPA_PLATFORM").constData(), reps);
    for (int size : sizes) {
      const std::string folder = qb::files::folderPath(scratch + "/n" + std::to_string(size));
      const std::size_t rows = qb::files::ancestors(folder).size() + static_cast<std::size_t>(size);
      std::vector<double> list, baseline, subfolders, setPath, listed, painted, settled;
      auto runList = [&](bool record) {
        const Phases p = openInList(w, folder, scratch, rows);
        if (!record) return;
        list.push_back(p.total());
        setPath.push_back(p.setPath);
        listed.push_back(p.listed);
        painted.push_back(p.painted);
        settled.push_back(p.settled);
      };
      auto runBaseline = [&](bool record) {
        const std::int64_t t0 = nowNs();
        const std::vector<std::string> names = readAndSort(folder);
        const std::int64_t t1 = nowNs();
        if (names.size() != static_cast<std::size_t>(size)) {
          throw std::runtime_error("readdir found " + std::to_string(names.size()));
        }
        if (record) baseline.push_back(toMs(t1 - t0));
      };
      // The list's own reading and sorting, without the view, to tell where time goes.
      auto runSubfolders = [&](bool record) {
        const std::int64_t t0 = nowNs();
        const std::vector<std::string> names = qb::files::subfolders(folder);
        const std::int64_t t1 = nowNs();
        if (names.size() != static_cast<std::size_t>(size)) {
          throw std::runtime_error("subfolders found " + std::to_string(names.size()));
        }
        if (record) subfolders.push_back(toMs(t1 - t0));
      };
      runList(false);
      runBaseline(false);
      runSubfolders(false);
      for (int rep = 0; rep < reps; ++rep) {
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
      std::printf(
          "  %7d folders: list %9.2f ms   readdir+sort %8.2f ms   ratio %6.2f  "
          "(goal <= 3) %s\n",
          size, median(list), median(baseline), ratio, ratio <= 3.0 ? "PASS" : "FAIL");
      std::printf(
          "                  list phases (medians): setPath %.2f, ensureListed %.2f, "
          "repaint %.2f, pending events %.2f ms; files::subfolders alone %.2f ms\n",
          median(setPath), median(listed), median(painted), median(settled), median(subfolders));
      if (ratio > 3.0) result = 1;
    }

    // Memory: fresh processes, so that nothing this run allocated counts.
    const int largest = *std::max_element(sizes.begin(), sizes.end());
    const std::string folder = scratch + "/n" + std::to_string(largest);
    const Memory withList = measureMemoryInChild("--memory-list", folder);
    const Memory plain = measureMemoryInChild("--memory-baseline", folder);
    std::printf("\npeak memory with the %d-folder list open and painted (fresh process)\n",
                largest);
    std::printf(
        "  before opening (window shown, list on a small folder): VmRSS %.1f MiB, "
        "VmHWM %.1f MiB\n",
        mib(withList.rssBefore), mib(withList.hwmBefore));
    std::printf(
        "  after opening and painting:                            VmHWM %.1f MiB, "
        "VmRSS %.1f MiB  (peak grew %.1f MiB)\n",
        mib(withList.hwmAfter), mib(withList.rssAfter), mib(withList.hwmAfter - withList.hwmReset));
    std::printf(
        "  readdir+sort alone, no Qt:  VmRSS before %.1f MiB, VmHWM after %.1f MiB  "
        "(peak grew %.1f MiB)\n",
        mib(plain.rssBefore), mib(plain.hwmAfter), mib(plain.hwmAfter - plain.hwmBefore));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "dirlist_bench: %s\n", e.what());
    result = 2;
  }
  if (chdir("/") != 0) result = 2;
  std::printf("folder list: removing %s ...\n", scratch.c_str());
  qb::bench::removeTree(scratch);
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--memory-list") {
    return memoryOfList(argc, argv, argv[2]);
  }
  if (argc == 3 && std::string(argv[1]) == "--memory-baseline") return memoryOfBaseline(argv[2]);
  return timing(argc, argv);
}

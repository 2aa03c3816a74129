// Start-up: time from fork to the first painted frame of step 1's window, for the program
// (startup_probe) and for a bare Qt window with the same controls (bare_window), launched in
// turn so that both see the same machine state. The working directory holds 100,000 folders,
// and the program is also launched from an empty one: start-up must not depend on either.
//
// Usage: startup_bench [--runs N] [--platform offscreen|xcb] [--folders N]

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/bench_util.h"

namespace {

using qb::bench::median;
using qb::bench::minimum;
using qb::bench::nowNs;
using qb::bench::toMs;

struct Variant {
  std::string label;
  std::string program;
  std::string folder;
  std::vector<double> firstPaint;  // ms from fork
  std::vector<double> frameDone;   // ms from fork
  std::string info;                // what the last launch said besides its times
};

std::string ownFolder() {
  std::string buffer(4096, '\0');
  const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (length <= 0) throw std::runtime_error("cannot read /proc/self/exe");
  buffer.resize(static_cast<std::size_t>(length));
  return buffer.substr(0, buffer.rfind('/'));
}

// Runs one launch; false when the program did not report a first frame.
bool launch(Variant& variant, const std::string& platform, bool record) {
  int out[2];
  if (pipe(out) != 0) throw std::runtime_error("pipe failed");
  const std::int64_t started = nowNs();
  const pid_t child = fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    dup2(out[1], STDOUT_FILENO);
    close(out[0]);
    close(out[1]);
    // Qt's warnings about the virtual screen would drown the figures.
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0) dup2(null, STDERR_FILENO);
    if (chdir(variant.folder.c_str()) != 0) _exit(126);
    setenv("QT_QPA_PLATFORM", platform.c_str(), 1);
    char* args[] = {variant.program.data(), nullptr};
    execv(variant.program.c_str(), args);
    _exit(127);
  }
  close(out[1]);
  std::string text;
  char buffer[512];
  for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) != 0;) {
    if (n < 0) {
      if (errno == EINTR) continue;
      break;
    }
    text.append(buffer, static_cast<std::size_t>(n));
  }
  close(out[0]);
  int status = 0;
  waitpid(child, &status, 0);

  long long firstPaint = 0, frameDone = 0;
  int used = 0;
  if (std::sscanf(text.c_str(), "first_paint_ns=%lld frame_done_ns=%lld %n", &firstPaint,
                  &frameDone, &used) < 2) {
    std::fprintf(stderr, "%s: no first frame (exit status %d): %s\n", variant.label.c_str(), status,
                 text.c_str());
    return false;
  }
  variant.info = text.substr(static_cast<std::size_t>(used));
  while (!variant.info.empty() && variant.info.back() == '\n')
    variant.info.pop_back();
  if (record) {
    variant.firstPaint.push_back(toMs(firstPaint - started));
    variant.frameDone.push_back(toMs(frameDone - started));
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 15;
  int folders = 100'000;
  std::string platform = "offscreen";
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--runs") runs = std::atoi(argv[i + 1]);
    if (option == "--platform") platform = argv[i + 1];
    if (option == "--folders") folders = std::atoi(argv[i + 1]);
  }

  const std::string bin = ownFolder();
  const std::string scratch = qb::bench::makeScratch("quenbrook-startup");
  const std::string big = scratch + "/big";
  const std::string empty = scratch + "/empty";
  int result = 0;
  try {
    std::printf("start-up: making %d folders in %s ...\n", folders, big.c_str());
    std::fflush(stdout);
    qb::bench::makeTree(big, folders);
    qb::bench::mustMkdir(empty);

    std::vector<Variant> variants{
        {"bare Qt window, cwd 100k", bin + "/bare_window", big, {}, {}, {}},
        {"quenbrook,      cwd 100k", bin + "/startup_probe", big, {}, {}, {}},
        {"quenbrook,      cwd empty", bin + "/startup_probe", empty, {}, {}, {}},
    };
    // One untimed launch each, so that every program starts from a warm page cache.
    for (Variant& variant : variants) {
      if (!launch(variant, platform, false)) throw std::runtime_error("a program failed");
    }
    for (int run = 0; run < runs; ++run) {
      // Alternating the order keeps a steady drift of the machine from favouring one program.
      for (std::size_t k = 0; k < variants.size(); ++k) {
        Variant& variant = variants[run % 2 ? variants.size() - 1 - k : k];
        if (!launch(variant, platform, true)) throw std::runtime_error("a program failed");
      }
    }

    std::printf("\nstart-up to first painted frame, QT_QPA_PLATFORM=%s, %d launches each\n",
                platform.c_str(), runs);
    std::printf("  %-27s %14s %14s %14s  %s\n", "", "first paint", "frame done", "min frame",
                "(ms from fork)");
    for (const Variant& variant : variants) {
      std::printf("  %-27s %14.2f %14.2f %14.2f  %s\n", variant.label.c_str(),
                  median(variant.firstPaint), median(variant.frameDone), minimum(variant.frameDone),
                  variant.info.c_str());
    }
    const double bare = median(variants[0].frameDone);
    const double app = median(variants[1].frameDone);
    const double appEmpty = median(variants[2].frameDone);
    const double ratio = app / bare;
    std::printf("  ratio quenbrook / bare (frame done, medians): %.3f  (goal <= 1.3) %s\n", ratio,
                ratio <= 1.3 ? "PASS" : "FAIL");
    std::printf("  ratio quenbrook / bare (first paint, medians): %.3f\n",
                median(variants[1].firstPaint) / median(variants[0].firstPaint));
    std::printf("  quenbrook cwd 100k / cwd empty (frame done): %.3f\n", app / appEmpty);
    if (variants[1].info != "dirlists=0" || variants[2].info != "dirlists=0") {
      std::printf("  WARNING: a folder list existed before Browse\n");
      result = 1;
    }
    if (ratio > 1.3) result = 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "startup_bench: %s\n", e.what());
    result = 2;
  }
  std::printf("start-up: removing %s ...\n", scratch.c_str());
  qb::bench::removeTree(scratch);
  return result;
}

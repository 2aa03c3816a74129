#pragma once

// Helpers shared by the benchmarks: a monotonic clock, medians, /proc memory figures and a
// throw-away tree of folders on the real file system.

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace qb::bench {

// CLOCK_MONOTONIC is shared by every process on the machine, so a child's timestamp can be set
// against the moment its parent forked it.
inline std::int64_t nowNs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<std::int64_t>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

inline double toMs(std::int64_t ns) {
  return static_cast<double>(ns) / 1e6;
}

inline double median(std::vector<double> values) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  const std::size_t mid = values.size() / 2;
  return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2.0;
}

inline double minimum(const std::vector<double>& values) {
  return values.empty() ? 0.0 : *std::min_element(values.begin(), values.end());
}

// A field of /proc/self/status such as VmRSS or VmHWM, in kibibytes; -1 when absent.
inline long statusKb(const std::string& field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  const std::string prefix = field + ":";
  while (std::getline(status, line)) {
    if (line.compare(0, prefix.size(), prefix) == 0) {
      return std::strtol(line.c_str() + prefix.size(), nullptr, 10);
    }
  }
  return -1;
}

inline void mustMkdir(const std::string& path) {
  if (mkdir(path.c_str(), 0777) != 0) {
    throw std::runtime_error("mkdir " + path + ": " + std::strerror(errno));
  }
}

// Mixed-case names in no particular order, so that sorting ignoring case has real work to do.
// The numeric tail keeps every name unique even when letter case is ignored.
inline std::vector<std::string> folderNames(int count) {
  std::vector<std::string> names;
  names.reserve(static_cast<std::size_t>(count));
  std::uint64_t state = 0x9E3779B97F4A7C15ull;
  auto next = [&state] {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state;
  };
  for (int i = 0; i < count; ++i) {
    std::string name;
    const int letters = 4 + static_cast<int>(next() % 11);
    for (int k = 0; k < letters; ++k) {
      const std::uint64_t r = next();
      const char letter = static_cast<char>('a' + r % 26);
      name += (r >> 32) & 1 ? static_cast<char>(letter - 'a' + 'A') : letter;
    }
    name += ' ';
    name += std::to_string(next() % 1'000'000'000ull);
    name += '_';
    name += std::to_string(i);
    names.push_back(std::move(name));
  }
  return names;
}

// Makes count empty subfolders in the new folder path.
inline void makeTree(const std::string& path, int count) {
  mustMkdir(path);
  for (const std::string& name : folderNames(count))
    mustMkdir(path + "/" + name);
}

// Removes a folder made by makeTree or mkdtemp together with the empty folders under it.
inline void removeTree(const std::string& path) {
  std::vector<std::string> stack{path};
  std::vector<std::string> order;
  while (!stack.empty()) {
    std::string folder = std::move(stack.back());
    stack.pop_back();
    struct stat st {};
    if (lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) continue;
    order.push_back(folder);
    if (DIR* dir = opendir(folder.c_str())) {
      while (dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        stack.push_back(folder + "/" + name);
      }
      closedir(dir);
    }
  }
  // Children come after their parents in order, so removing from the back empties each parent
  // before it is removed.
  for (auto it = order.rbegin(); it != order.rend(); ++it)
    rmdir(it->c_str());
}

// A fresh folder for the benchmark's trees, under TMPDIR when set.
inline std::string makeScratch(const char* tag) {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/" + tag + "-XXXXXX";
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp: " + pattern);
  return pattern;
}

}  // namespace qb::bench

#pragma once

#include <cstdio>
#include <cstring>
#include <optional>

namespace qb {

// The Linux program's few options, answered before any toolkit is made so that they work
// without a display. Returns the exit status when an option settles the run, nothing when the
// wizard should open. The Windows program is a windowed one and ignores its command line.
inline std::optional<int> answerCommandLine(int argc, char** argv) {
  if (argc < 2) return std::nullopt;
  const char* option = argv[1];
  if (std::strcmp(option, "--version") == 0) {
    std::puts("Quenbrook " QUENBROOK_VERSION);
    return 0;
  }
  if (std::strcmp(option, "--help") == 0 || std::strcmp(option, "-h") == 0) {
    std::puts(
        "Usage: quenbrook [--help | --version]\n"
        "Sets up the folder of a new project: opens a wizard that makes the folder with its\n"
        "subfolders, then a shortcut to it.\n"
        "\n"
        "  -h, --help  show this help and exit\n"
        "  --version   show the name and version and exit");
    return 0;
  }
  std::fprintf(stderr,
               "quenbrook: unknown option '%s'\n"
               "Try 'quenbrook --help' for more information.\n",
               option);
  return 2;
}

}  // namespace qb

#pragma once

#include <cstdio>
#include <cstring>
#include <optional>

#include "platform/catalogue.h"

namespace qb {

// The options Qt takes itself (QGuiApplication's, QApplication's and X11's), which go on to Qt
// untouched; Qt takes each also with two dashes. Each says whether its value is the next
// argument and whether Qt also takes one after '='.
struct QtOption {
  const char* name;
  bool takesValue;
  bool takesEquals;
};
inline constexpr QtOption kQtOptions[] = {
    {"-platform", true, false},
    {"-platformpluginpath", true, false},
    {"-platformtheme", true, false},
    {"-plugin", true, false},
    {"-qwindowgeometry", true, false},
    {"-qwindowicon", true, false},
    {"-qwindowtitle", true, false},
    {"-session", true, false},
    {"-display", true, false},
    {"-geometry", true, false},
    {"-name", true, false},
    {"-style", true, true},
    {"-stylesheet", true, true},
    {"-qmljsdebugger", false, true},
    {"-reverse", false, false},
    {"-widgetcount", false, false},
    {"-nograb", false, false},
    {"-dograb", false, false},
    {"-sync", false, false},
};

// The Qt option that argument is, if it is one.
inline const QtOption* qtOption(const char* argument) {
  if (argument[0] == '-' && argument[1] == '-') ++argument;
  for (const QtOption& option : kQtOptions) {
    const std::size_t length = std::strlen(option.name);
    if (std::strncmp(argument, option.name, length) != 0) continue;
    if (argument[length] == '\0' || (option.takesEquals && argument[length] == '=')) return &option;
  }
  return nullptr;
}

// The Linux program's few options, answered before any toolkit is made so that they work
// without a display; Qt's own are left to Qt. Returns the exit status when an option settles
// the run, nothing when the wizard should open. The Windows program is a windowed one and
// ignores its command line.
inline std::optional<int> answerCommandLine(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const char* option = argv[i];
    if (std::strcmp(option, "--version") == 0) {
      std::puts("Quenbrook " QUENBROOK_VERSION);
      return 0;
    }
    if (std::strcmp(option, "--help") == 0 || std::strcmp(option, "-h") == 0) {
      std::puts(tr("Usage: quenbrook [--help | --version] [Qt's options]\n"
                   "Sets up the folder of a new project: opens a wizard that makes the folder with "
                   "its\nsubfolders, then a shortcut to it.\n"
                   "\n"
                   "  -h, --help  show this help and exit\n"
                   "  --version   show the name and version and exit\n"
                   "Qt's own options, such as -platform, -style and -display, go to Qt.")
                    .c_str());
      return 0;
    }
    if (const QtOption* qt = qtOption(option)) {
      if (!qt->takesValue || std::strchr(option, '=')) continue;
      if (++i < argc) continue;
      std::fprintf(stderr, "%s\n", tr("quenbrook: option '{1}' needs a value", {option}).c_str());
      return 2;
    }
    std::fprintf(stderr, "%s\n",
                 tr("quenbrook: unknown option '{1}'\nTry 'quenbrook --help' for more information.",
                    {option})
                     .c_str());
    return 2;
  }
  return std::nullopt;
}

}  // namespace qb

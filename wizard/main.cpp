#include "wizard/CommandLine.h"
#include "wizard/Quenbrook.h"

int main(int argc, char** argv) {
  // Before anything is said: --help, and a start that fails.
  qb::chooseLanguage();
#ifndef _WIN32
  if (auto status = qb::answerCommandLine(argc, argv)) return *status;
#endif
  return qb::runQuenbrook(argc, argv);
}

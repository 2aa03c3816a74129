#include "wizard/CommandLine.h"
#include "wizard/Quenbrook.h"

int main(int argc, char** argv) {
  // Before anything is said, --help too.
  qb::chooseLanguage();
#ifndef _WIN32
  if (auto status = qb::answerCommandLine(argc, argv)) return *status;
#endif
  return qb::runQuenbrook(argc, argv);
}

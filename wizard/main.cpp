#include "wizard/CommandLine.h"
#include "wizard/Quenbrook.h"

int main(int argc, char** argv) {
#ifndef _WIN32
  if (auto status = qb::answerCommandLine(argc, argv)) return *status;
#endif
  return qb::runQuenbrook(argc, argv);
}

#include "platform/ui.h"
#include "wizard/CommandLine.h"
#include "wizard/Quenbrook.h"

int main(int argc, char** argv) {
#ifndef _WIN32
  if (auto status = qb::answerCommandLine(argc, argv)) return *status;
#endif
  std::unique_ptr<qb::Toolkit> toolkit = qb::makeNativeToolkit(argc, argv);
  if (!toolkit) return 1;
  qb::Quenbrook program(*toolkit);
  toolkit->dispatch([&] { program.start(); });
  return toolkit->run();
}

#include "platform/ui.h"
#include "wizard/Quenbrook.h"

int main(int argc, char** argv) {
  std::unique_ptr<qb::Toolkit> toolkit = qb::makeNativeToolkit(argc, argv);
  if (!toolkit) return 1;
  qb::Quenbrook program(*toolkit);
  toolkit->dispatch([&] { program.start(); });
  return toolkit->run();
}

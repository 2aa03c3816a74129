#include "wizard/Quenbrook.h"

#include "platform/catalogue.h"

namespace qb {

int runQuenbrook(int& argc, char** argv, const std::function<void(Toolkit&, Quenbrook&)>& inLoop) {
  chooseLanguage();
  std::unique_ptr<Toolkit> toolkit = makeNativeToolkit(argc, argv);
  if (!toolkit) return 1;
  Quenbrook program(*toolkit);
  toolkit->dispatch([&] { program.start(); });
  if (inLoop) toolkit->post([&] { inLoop(*toolkit, program); });
  return toolkit->run();
}

}  // namespace qb

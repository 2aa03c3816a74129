#pragma once

#include <functional>

#include "picker/frmGetFolder.h"
#include "platform/ui.h"
#include "wizard/IO.h"
#include "wizard/frmMain.h"
#include "wizard/frmMain2.h"

namespace qb {

// The program's windows and modules, one instance each for the whole run.
struct Quenbrook {
  explicit Quenbrook(Toolkit& toolkit) : ui(toolkit) {}

  // Opens step 1, the one window no handler shows.
  void start() { ui.show(main); }

  Ui ui;
  IO io;
  frmGetFolder getFolder{ui};
  frmMain2 main2{ui, io, getFolder};
  frmMain main{ui, io, getFolder, main2};
};

// The program's run, for main and the stories alike: makes the toolkit and the program, opens
// step 1 and runs the main loop until the program ends. inLoop, when given, is called from
// inside the main loop once step 1 is up. Returns the exit status.
int runQuenbrook(int& argc, char** argv,
                 const std::function<void(Toolkit&, Quenbrook&)>& inLoop = {});

}  // namespace qb

// The program's own start under Windows, exactly as its entry point runs it, with a watch for
// the first frame of step 1's window.

#include "bench/win32/first_paint.h"
#include "platform/ui.h"
#include "wizard/Quenbrook.h"

int main(int argc, char** argv) {
  using qb::bench::win32::FirstPaintProbe;
  // Set before anything else runs, so that no window is made unseen.
  FirstPaintProbe probe(L"Step 1 - Select or create a project folder");
  std::unique_ptr<qb::Toolkit> toolkit = qb::makeNativeToolkit(argc, argv);
  if (!toolkit) return 1;
  FirstPaintProbe::mark("toolkit");
  qb::Quenbrook program(*toolkit);
  FirstPaintProbe::mark("program");
  toolkit->dispatch([&] { program.start(); });
  FirstPaintProbe::mark("started");
  return toolkit->run();
}

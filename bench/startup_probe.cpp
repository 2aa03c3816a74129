// The program's own start through its real entry, with the watch for step 1's first frame set
// before anything else runs.

#include "bench/first_frame.h"
#include "wizard/Quenbrook.h"

int main(int argc, char** argv) {
#ifdef _WIN32
  const qb::bench::FirstFrame watch(qb::frmMain::kWindow);
#else
  // The entry uses the application that exists; made here, it can carry the watch from the
  // first event on.
  QApplication application(argc, argv);
  const qb::bench::FirstFrame watch(qb::frmMain::kWindow);
#endif
  return qb::runQuenbrook(argc, argv);
}

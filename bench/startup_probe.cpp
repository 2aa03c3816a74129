// The program's own start, exactly as its entry point runs it, with a watch for the first
// frame of step 1's window. The watch also counts folder lists alive at that moment, to show
// that nothing is listed before Browse.

#include <QApplication>
#include <QWidget>

#include "bench/first_paint.h"
#include "platform/qt/DirListWidget.h"
#include "platform/ui.h"
#include "wizard/Quenbrook.h"

namespace {

std::string liveFolderLists() {
  int lists = 0;
  for (QWidget* widget : QApplication::allWidgets()) {
    if (dynamic_cast<qb::DirListWidget*>(widget)) ++lists;
  }
  return "dirlists=" + std::to_string(lists);
}

}  // namespace

int main(int argc, char** argv) {
  std::unique_ptr<qb::Toolkit> toolkit = qb::makeNativeToolkit(argc, argv);
  if (!toolkit) return 1;
  qb::bench::FirstPaintProbe probe(QStringLiteral("frmMain"), liveFolderLists);
  qb::Quenbrook program(*toolkit);
  toolkit->dispatch([&] { program.start(); });
  return toolkit->run();
}

#include "platform/qt/FolderCompletion.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDir>
#include <QFutureWatcher>
#include <QPlainTextEdit>
#include <QStringListModel>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <memory>

namespace qb {

namespace {

constexpr qsizetype kShown = 100;  // no one reads further down a list of names

// The names of a folder's subfolders, hidden ones left out as the list leaves them, in order.
QStringList subfolders(const QString& folder) {
  QStringList names = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted);
  std::sort(names.begin(), names.end());
  return names;
}

// The folder being typed in, its subfolders once read, and what is offered.
struct Offer {
  QString folder;
  QStringList names;
  QFutureWatcher<QStringList>* reading = nullptr;
  QStringListModel* shown = nullptr;
  bool inserting = false;
};

}  // namespace

void offerFolders(QPlainTextEdit* box) {
  auto offer = std::make_shared<Offer>();
  offer->reading = new QFutureWatcher<QStringList>(box);
  offer->shown = new QStringListModel(box);
  auto* completer = new QCompleter(offer->shown, box);
  completer->setWidget(box);
  completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);

  const auto update = [box, completer, offer] {
    const QString typed = box->toPlainText();
    const qsizetype cut = typed.lastIndexOf(QLatin1Char('/')) + 1;
    // Only what the user types asks for folders: not the list moving the text, nor a pick here.
    if (offer->inserting || box->window()->focusWidget() != box || cut == 0 ||
        typed.contains(QLatin1Char('\n'))) {
      offer->folder.clear();
      completer->popup()->hide();
      return;
    }
    const QString folder = typed.left(cut);
    if (folder != offer->folder) {
      // Read away from the event loop, however big or slow the folder; this runs again after.
      offer->folder = folder;
      offer->names.clear();
      offer->reading->setFuture(QtConcurrent::run(subfolders, folder));
      completer->popup()->hide();
      return;
    }
    const QString stem = typed.mid(cut);
    QStringList paths;
    for (auto name = std::lower_bound(offer->names.cbegin(), offer->names.cend(), stem);
         name != offer->names.cend() && name->startsWith(stem) && paths.size() < kShown; ++name)
      paths << folder + *name;
    if (paths.isEmpty() || paths == QStringList{typed}) {
      completer->popup()->hide();
      return;
    }
    offer->shown->setStringList(paths);
    completer->complete();
  };
  QObject::connect(box, &QPlainTextEdit::textChanged, completer, update);
  QObject::connect(offer->reading, &QFutureWatcher<QStringList>::finished, completer,
                   [offer, update] {
                     offer->names = offer->reading->result();
                     update();
                   });
  QObject::connect(completer, qOverload<const QString&>(&QCompleter::activated), box,
                   [box, offer](const QString& path) {
                     offer->inserting = true;
                     box->setPlainText(path);
                     box->moveCursor(QTextCursor::End);
                     offer->inserting = false;
                   });
}

}  // namespace qb

#include "platform/qt/FolderCompletion.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFileSystemModel>
#include <QPlainTextEdit>
#include <memory>

namespace qb {

void offerFolders(QPlainTextEdit* box) {
  auto* folders = new QFileSystemModel(box);
  folders->setFilter(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Drives);
  folders->setRootPath(QString());
  auto* completer = new QCompleter(folders, box);
  completer->setWidget(box);
  auto inserting = std::make_shared<bool>(false);

  // Only what the user types asks for folders: not the list moving the text, nor a pick here.
  const auto offer = [box, completer, folders, inserting] {
    const QString typed = box->toPlainText();
    if (*inserting || box->window()->focusWidget() != box || typed.isEmpty() ||
        typed.contains(QLatin1Char('\n'))) {
      completer->popup()->hide();
      return;
    }
    // The folder the last name is typed in is read, on the model's thread, if it is not yet.
    const QModelIndex folder = folders->index(typed.left(typed.lastIndexOf(QDir::separator()) + 1));
    if (folder.isValid() && folders->canFetchMore(folder)) folders->fetchMore(folder);
    completer->setCompletionPrefix(typed);
    completer->complete();
  };
  QObject::connect(box, &QPlainTextEdit::textChanged, completer, offer);
  // Names typed before their folder was read are offered once it has been.
  QObject::connect(folders, &QFileSystemModel::directoryLoaded, completer, offer);
  QObject::connect(completer, qOverload<const QString&>(&QCompleter::activated), box,
                   [box, inserting](const QString& path) {
                     *inserting = true;
                     box->setPlainText(path);
                     box->moveCursor(QTextCursor::End);
                     *inserting = false;
                   });
}

}  // namespace qb

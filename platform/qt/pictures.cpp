#include "platform/qt/pictures.h"

namespace qb {

namespace {

QIcon fromSizes(const char* name, std::initializer_list<int> sizes) {
  QIcon icon;
  for (int size : sizes) {
    icon.addFile(QStringLiteral(":/png/%1-%2.png").arg(QLatin1String(name)).arg(size),
                 QSize(size, size));
  }
  return icon;
}

}  // namespace

QIcon pictureIcon(Picture picture) {
  switch (picture) {
    case Picture::Done:
      return fromSizes("done", {32, 64, 96});
    case Picture::NewFolder:
      return fromSizes("newfolder", {32, 64, 96});
    case Picture::Desktop:
      return fromSizes("desktop", {32, 64, 96});
    case Picture::MyDocuments:
      return fromSizes("mydocuments", {32, 64, 96});
    case Picture::None:
      break;
  }
  return {};
}

QIcon windowIcon(WindowIcon icon) {
  if (icon == WindowIcon::Folder) return fromSizes("folder", {16, 32, 64, 96});
  return fromSizes("clipboard", {32, 64, 96});
}

QIcon listFolderIcon(bool open) {
  static const QIcon openIcon = fromSizes("folder-open", {16, 32, 48});
  static const QIcon closedIcon = fromSizes("folder-closed", {16, 32, 48});
  return open ? openIcon : closedIcon;
}

}  // namespace qb

#pragma once

#include <QIcon>

#include "platform/window_spec.h"

namespace qb {

// Icons drawn from the program's vector pictures, rendered at 1x, 2x and 3x.
QIcon pictureIcon(Picture picture);
QIcon windowIcon(WindowIcon icon);
QIcon listFolderIcon(bool open);

}  // namespace qb

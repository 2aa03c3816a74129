#pragma once

// How big the text of a control is drawn, and whether it shows whole where the control is.

#include <QFont>
#include <QString>
#include <QWidget>

#include "platform/window_spec.h"

namespace qb {

// The font of a control with a font of its own in the table, on the desktop's base font.
QFont fontOf(const Font& font, const QFont& base);
// Whether the control's text shows whole in its rectangle, in its font: a caption, or one line
// of a box or a drop-down list in the area its style leaves for text. A folder list scrolls.
bool showsWhole(const QWidget& control, const QString& caption, bool autoSize);

}  // namespace qb

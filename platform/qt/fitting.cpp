#include "platform/qt/fitting.h"

#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOption>
#include <QTextDocument>
#include <algorithm>
#include <cmath>

namespace qb {

// The program's own fonts are sized for the usual 9-point dialog font: they grow with the
// desktop's, as the rest of the window does, and never shrink below what the table gives them.
QFont fontOf(const Font& font, const QFont& base) {
  if (font.family.empty()) return base;
  const double desktop = base.pointSizeF() > 0 ? base.pointSizeF() : QFontInfo(base).pointSizeF();
  QFont made(QString::fromStdString(font.family));
  made.setPointSizeF(font.points * std::max(1.0, desktop / 9));
  made.setBold(font.bold);
  if (font.family == "Courier New") made.setStyleHint(QFont::TypeWriter);
  return made;
}

bool showsWhole(const QWidget& control, const QString& caption, bool autoSize) {
  const QSize room = control.size();
  const QFontMetrics metrics(control.font());
  const int frame = control.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &control);
  if (qobject_cast<const QLabel*>(&control)) {
    const int width = autoSize ? QWIDGETSIZE_MAX : room.width();
    const QRect text =
        metrics.boundingRect(QRect(0, 0, width, QWIDGETSIZE_MAX), Qt::TextWordWrap, caption);
    return text.width() <= width && text.height() <= room.height();
  }
  if (qobject_cast<const QPushButton*>(&control)) {
    // A button's caption is one line: it does not wrap.
    const QSize inside = room - QSize(2 * frame, 2 * frame);
    return caption.isEmpty() || (metrics.horizontalAdvance(caption) <= inside.width() &&
                                 metrics.height() <= inside.height());
  }
  int lineRoom = room.height() - 2 * frame;
  if (const auto* box = qobject_cast<const QPlainTextEdit*>(&control)) {
    // Its lines do not wrap: a long path brings the scroll bar under them, which takes room.
    lineRoom -= 2 * static_cast<int>(std::ceil(box->document()->documentMargin())) +
                control.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &control);
  } else if (const auto* line = qobject_cast<const QLineEdit*>(&control)) {
    QStyleOptionFrame option;
    option.initFrom(line);
    option.lineWidth = frame;
    lineRoom = control.style()->subElementRect(QStyle::SE_LineEditContents, &option, line).height();
  } else if (const auto* drives = qobject_cast<const QComboBox*>(&control)) {
    QStyleOptionComboBox option;
    option.initFrom(drives);
    lineRoom =
        control.style()
            ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, drives)
            .height();
  } else {
    return true;
  }
  return metrics.height() <= lineRoom;
}

}  // namespace qb

#pragma once

class QPlainTextEdit;

namespace qb {

// Offers, just outside the box's window, the folders whose paths start with what has been
// typed. Folders are read on another thread, so a huge or slow folder never holds up the
// typing: the list shows once they have come.
void offerFolders(QPlainTextEdit* box);

}  // namespace qb

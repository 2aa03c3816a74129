#pragma once

class QPlainTextEdit;

namespace qb {

// Offers, under a path box, the folders whose paths start with what has been typed. Folders
// are read on the file system model's own thread, so a huge or slow folder never holds up the
// typing: the list shows once they have come.
void offerFolders(QPlainTextEdit* box);

}  // namespace qb

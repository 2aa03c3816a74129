#pragma once

#include <string>
#include <vector>

#include "platform/ui.h"

namespace qb {

// The program's own folder picker. Callers show it modally and then read SelectedFolder: the
// text of the path box when the dialog closed, however it was closed.
class frmGetFolder : public Form {
 public:
  // The window's description: its caption, frame and controls, as the table gives them.
  static const WindowSpec kWindow;

  explicit frmGetFolder(Ui& ui);

  std::string SelectedFolder;

  DriveList Drive1{*this, "Drive1"};
  DirList Dir1{*this, "Dir1"};
  TextBox txtPathlist{*this, "txtPathlist"};
  Button btnNewFolder{*this, "btnNewFolder"};
  Button btnDone{*this, "btnDone"};
  Button btnDesktop{*this, "btnDesktop"};
  Button btnMyDocuments{*this, "btnMyDocuments"};

 private:
  void Form_Load();
  void Dir1_Change();
  void Drive1_Change();
  void btnDone_Click();
  void Form_QueryUnload(bool& cancel, UnloadMode mode);
  bool Form_Drop(const std::vector<std::string>& paths);
  void btnDesktop_Click();
  void btnMyDocuments_Click();
  void btnNewFolder_Click();

  // The text before the first path separator of text.
  std::string FirstPathSegment(const std::string& text);
  // Moves to a quick location when there is a folder there, and stays put otherwise.
  void jumpTo(const std::string& location);

  // Brings the path box and SelectedFolder into line with the directory list.
  void syncPath();
};

}  // namespace qb

#pragma once

#include "platform/ui.h"
#include "wizard/IO.h"

namespace qb {

class frmGetFolder;
class frmMain2;

// Step 1: choose the project folder; it is made if missing, and the skeleton inside it. Then
// step 2 runs, and when it is over, the program ends.
class frmMain : public Form {
 public:
  // The window's description: its caption, frame and controls, as the table gives them.
  static const WindowSpec kWindow;

  frmMain(Ui& services, IO& io, frmGetFolder& getFolder, frmMain2& step2);

  Button Command1{*this, "Command1"};
  TextBox Text1{*this, "Text1"};
  Button btnCancel{*this, "btnCancel"};

 private:
  void Command1_Click();
  void btnCancel_Click();
  void Form_QueryUnload(bool& cancel, UnloadMode mode);

  // Shows why a chosen path is no place for a project, or returns true when it may be one.
  bool acceptable(const std::string& folder);
  // Which of the skeleton's folders are in folder and which are not.
  std::string progress(const std::string& folder);

  IO& io_;
  frmGetFolder& getFolder_;
  frmMain2& step2_;
};

}  // namespace qb

#pragma once

#include "platform/ui.h"
#include "wizard/IO.h"

namespace qb {

class frmGetFolder;

// Step 2: a shortcut to the project folder, under a name and in a folder the user chooses.
class frmMain2 : public Form {
 public:
  // The window's description: its caption, frame and controls, as the table gives them.
  static const WindowSpec kWindow;

  frmMain2(Ui& services, IO& io, frmGetFolder& getFolder);

  Label Label1{*this, "Label1"};
  Label Label2{*this, "Label2"};
  TextBox Text2{*this, "Text2"};
  Button btnBrowse{*this, "btnBrowse"};
  Button Command1{*this, "Command1"};
  TextBox Text1{*this, "Text1"};
  Button btnSkip{*this, "btnSkip"};

 private:
  void btnBrowse_Click();
  void btnSkip_Click();
  void Command1_Click();

  IO& io_;
  frmGetFolder& getFolder_;
};

}  // namespace qb

#include "wizard/frmMain2.h"

#include "picker/frmGetFolder.h"
#include "platform/catalogue.h"
#include "shortcut/MakeLink.h"

namespace qb {

const WindowSpec frmMain2::kWindow{
    .name = "frmMain2",
    .caption = N_("Step 2 - Create a shortcut to the project"),
    .clientWidth = 4680,
    .clientHeight = 2625,
    .closeBox = true,
    .inTaskbar = false,
    .placement = Placement::CenterOwner,
    .icon = WindowIcon::Program,
    // One control a row, as in the window's table.
    // clang-format off
    .controls = {
        // name, kind, caption, tooltip, {left, top, width, height}, flags, picture,
        // accessible name, font
        {"Label1",    ControlKind::Label,   N_("Shortcut name"),                   "", {120, 60, 1065, 195},   kAutoSize},
        {"Label2",    ControlKind::Label,   N_("Select a folder to create it in"), "", {120, 720, 1995, 195},  kAutoSize},
        {"Text2",     ControlKind::TextBox, "",                                    "", {120, 900, 4455, 285},  kReadOnly | kPath, Picture::None, N_("Select a folder to create it in")},
        {"btnBrowse", ControlKind::Button,  N_("Browse"),                          "", {3420, 1200, 1155, 255}},
        {"Command1",  ControlKind::Button,  "",                                    "", {1620, 1860, 675, 675}, 0, Picture::Done, N_("Done")},
        {"Text1",     ControlKind::TextBox, "",                                    "", {120, 300, 4455, 285},  0, Picture::None, N_("Shortcut name")},
        {"btnSkip",   ControlKind::Button,  N_("SKIP"), N_("Skip creation of shortcut, and bail."), {2400, 1860, 675, 675}, 0, Picture::None, "", Font{"Courier New", 9, true}},
    },
    // clang-format on
};

frmMain2::frmMain2(Ui& services, IO& io, frmGetFolder& getFolder)
    : Form(services, kWindow), io_(io), getFolder_(getFolder) {
  onClick(btnBrowse.index(), [this] { btnBrowse_Click(); });
  onClick(btnSkip.index(), [this] { btnSkip_Click(); });
  onClick(Command1.index(), [this] { Command1_Click(); });
}

void frmMain2::btnBrowse_Click() {
  ui.showModal(getFolder_);
  Text2.setText(getFolder_.SelectedFolder);
  Text2.refresh();
}

void frmMain2::btnSkip_Click() {
  ui.unload(*this);
}

void frmMain2::Command1_Click() {
  const std::string folder = Text2.text();
  const std::string name = Text1.text();
  const std::string target = io_.ProjectFolder;
  const std::string arguments;
  if (Text1.text().empty() || Text2.text().empty()) {
    ui.msgBox(tr("Both fields are required"), kOkOnly, tr("Oops!"));
    return;
  }
  MkLink(folder, name, target, arguments);
  ui.msgBox(tr("Process complete"), kOkOnly, tr("Good news!"));
  ui.unload(*this);
}

}  // namespace qb

#include "picker/frmGetFolder.h"

#include "platform/files.h"

namespace qb {

namespace {

const WindowSpec kWindow{
    .name = "frmGetFolder",
    .caption = "Select Folder",
    .clientWidth = 3540,
    .clientHeight = 6045,
    .closeBox = true,
    .inTaskbar = false,
    .placement = Placement::CenterOwner,
    .icon = WindowIcon::Folder,
    .controls =
        {
            // name, kind, caption, tooltip, {left, top, width, height}, flags, picture
            {"Drive1", ControlKind::DriveList, "", "", {60, 120, 3375, 315}},
            {"Dir1", ControlKind::DirList, "", "", {60, 480, 3315, 4140}},
            {"txtPathlist", ControlKind::TextBox, "", "", {120, 4680, 3375, 555}, kMultiLine},
            {"btnNewFolder",
             ControlKind::Button,
             "",
             "New Folder",
             {120, 5280, 675, 675},
             0,
             Picture::NewFolder},
            {"btnDone", ControlKind::Button, "", "Done", {2820, 5280, 675, 675}, 0, Picture::Done},
            {"btnDesktop",
             ControlKind::Button,
             "",
             "Desktop",
             {780, 5280, 675, 675},
             0,
             Picture::Desktop},
            {"btnMyDocuments",
             ControlKind::Button,
             "",
             "My Documents",
             {1440, 5280, 675, 675},
             0,
             Picture::MyDocuments},
        },
};

}  // namespace

frmGetFolder::frmGetFolder(Ui& services) : Form(services, kWindow) {
  onLoad([this] { Form_Load(); });
  onChange(Dir1.index(), [this] { Dir1_Change(); });
  onChange(Drive1.index(), [this] { Drive1_Change(); });
  onClick(btnDone.index(), [this] { btnDone_Click(); });
  onQueryUnload([this](bool& cancel, UnloadMode mode) { Form_QueryUnload(cancel, mode); });
}

void frmGetFolder::Form_Load() {
  Dir1.setPath(files::applicationFolder());
  Dir1.refresh();
  syncPath();
}

void frmGetFolder::Dir1_Change() {
  syncPath();
  // The drive list shows the drive the folder list is on.
  Drive1.setDrive(Dir1.path());
}

void frmGetFolder::Drive1_Change() {
  const std::string root = Drive1.drive();
  // Until the move succeeds the drive list goes back to the folder list's drive, so a drive
  // that cannot be read leaves both lists where they were.
  Drive1.setDrive(Dir1.path());
  Dir1.setPath(root);
  syncPath();
}

void frmGetFolder::btnDone_Click() {
  SelectedFolder = txtPathlist.text();
  ui.unload(*this);
}

void frmGetFolder::Form_QueryUnload(bool& /*cancel*/, UnloadMode /*mode*/) {
  SelectedFolder = txtPathlist.text();
}

void frmGetFolder::syncPath() {
  txtPathlist.setText(Dir1.path());
  txtPathlist.refresh();
  SelectedFolder = txtPathlist.text();
}

}  // namespace qb

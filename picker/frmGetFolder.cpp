#include "picker/frmGetFolder.h"

#include <algorithm>

#include "platform/catalogue.h"
#include "platform/files.h"

namespace qb {

const WindowSpec frmGetFolder::kWindow{
    .name = "frmGetFolder",
    .caption = N_("Select Folder"),
    .clientWidth = 3540,
    .clientHeight = 6045,
    .closeBox = true,
    .inTaskbar = false,
    .placement = Placement::CenterOwner,
    .icon = WindowIcon::Folder,
    .takesDrops = true,
    // One control a row, as in the window's table.
    // clang-format off
    .controls = {
        // name, kind, caption, tooltip, {left, top, width, height}, flags, picture,
        // accessible name, font
        {"Drive1",         ControlKind::DriveList, "", "",                 {60, 120, 3375, 315},   0,          Picture::None, N_("Drive")},
        {"Dir1",           ControlKind::DirList,   "", "",                 {60, 480, 3315, 4140},  0,          Picture::None, N_("Folders")},
        {"txtPathlist",    ControlKind::TextBox,   "", "",                 {120, 4680, 3375, 555}, kMultiLine | kPath, Picture::None, N_("Folder path")},
        {"btnNewFolder",   ControlKind::Button,    "", N_("New Folder"),   {120, 5280, 675, 675},  0,          Picture::NewFolder},
        {"btnDone",        ControlKind::Button,    "", N_("Done"),         {2820, 5280, 675, 675}, 0,          Picture::Done},
        {"btnDesktop",     ControlKind::Button,    "", N_("Desktop"),      {780, 5280, 675, 675},  0,          Picture::Desktop},
        {"btnMyDocuments", ControlKind::Button,    "", N_("My Documents"), {1440, 5280, 675, 675}, 0,          Picture::MyDocuments},
    },
    // clang-format on
};

namespace {

std::string separator() {
  return std::string(1, files::kSeparator);
}

// The home folder followed by suffix, unless the system knows better: where the variables are
// unset or lead to no such folder (a mapped home drive without a desktop), or lead to the
// user's profile folder while the system keeps the folder elsewhere (moved to a cloud folder or
// redirected by policy, a stale one left behind), the folder the system keeps serves.
std::string quickLocation(const char* suffix, files::UserFolder which) {
  const std::string home = files::environment("HOMEDRIVE") + files::environment("HOMEPATH");
  const std::string location = home + separator() + suffix;
  const std::string kept = files::userFolder(which);
  if (kept.empty()) return location;
  if (home.empty() || files::entryAt(location) != files::Entry::Folder) return kept;
  if (files::sameFolder(home, files::homeFolder()) && !files::sameFolder(kept, location))
    return kept;
  return location;
}

// The program's own folder; when that cannot be opened (removed while the program runs,
// unreadable, or named in what is not UTF-8), the nearest folder above it that can, else the
// home folder, else the root, so that the picker still opens.
std::string startFolder() {
  std::vector<std::string> candidates;
  try {
    candidates = files::ancestors(files::applicationFolder());
  } catch (const PlatformError&) {
  }
  std::reverse(candidates.begin(), candidates.end());
  const std::string root =
      candidates.empty() ? std::string(1, files::kSeparator) : candidates.back();
  if (!candidates.empty()) candidates.pop_back();
  candidates.push_back(files::homeFolder());
  for (const std::string& folder : candidates) {
    try {
      return files::folderPath(folder);
    } catch (const PlatformError&) {
      // not this one: the next one up
    }
  }
  return root;
}

}  // namespace

frmGetFolder::frmGetFolder(Ui& services) : Form(services, kWindow) {
  onLoad([this] { Form_Load(); });
  onChange(Dir1.index(), [this] { Dir1_Change(); });
  onChange(Drive1.index(), [this] { Drive1_Change(); });
  onClick(btnDone.index(), [this] { btnDone_Click(); });
  onClick(btnDesktop.index(), [this] { btnDesktop_Click(); });
  onClick(btnMyDocuments.index(), [this] { btnMyDocuments_Click(); });
  onClick(btnNewFolder.index(), [this] { btnNewFolder_Click(); });
  onQueryUnload([this](bool& cancel, UnloadMode mode) { Form_QueryUnload(cancel, mode); });
  onDrop([this](const std::vector<std::string>& paths) { return Form_Drop(paths); });
}

void frmGetFolder::Form_Load() {
  Dir1.setPath(startFolder());
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

bool frmGetFolder::Form_Drop(const std::vector<std::string>& paths) {
  // One folder dropped is a folder opened in the list; a file, or several items, mean nothing.
  if (paths.size() != 1 || files::lookup(paths[0]).empty() ||
      files::entryAt(paths[0]) != files::Entry::Folder) {
    return false;
  }
  Dir1.setPath(paths[0]);
  syncPath();
  return true;
}

void frmGetFolder::btnDesktop_Click() {
  jumpTo(quickLocation("DESKTOP", files::UserFolder::Desktop));
}

void frmGetFolder::btnMyDocuments_Click() {
  jumpTo(quickLocation("My Documents", files::UserFolder::Documents));
}

void frmGetFolder::jumpTo(const std::string& location) {
  // A file of that name is no place to go, just as nothing at all is.
  if (files::lookup(location).empty() || files::entryAt(location) != files::Entry::Folder) {
    SelectedFolder = Dir1.path();
    Dir1.refresh();
    return;
  }
  // The location as the list shows it: a link such as the old "My Documents", whose own listing
  // is denied, taken as the folder it leads to, and the letter case as on disk. So
  // SelectedFolder is a folder the list can show even when the list is there already and raises
  // no Change; and when this fails, SelectedFolder stays on the folder the user is looking at.
  SelectedFolder = files::folderPath(location);
  Dir1.setPath(SelectedFolder);
}

void frmGetFolder::btnNewFolder_Click() {
  std::string name = ui.inputBox(tr("New folder name"), tr("Create new folder"));
  if (name.empty()) return;
  name = FirstPathSegment(name);
  const auto newFolder = [&] { return SelectedFolder + separator() + name; };
  // A name no folder here may have is refused before the question, which would otherwise ask
  // about a folder that cannot be, or show a name broken over lines, or lead elsewhere.
  // A name cut to nothing is the folder itself, asked about as it is.
  const std::string refused = name.empty() ? std::string() : files::nameProblem(name);
  if (!refused.empty()) {
    ui.msgBox(asIs(newFolder()) + "\n\n" + tr("{1} Nothing was made.", {refused}), kOkOnly,
              tr("Oops!"));
    return;
  }
  // The question's line break is the message box's own, "\r\n".
  std::string prompt = tr("Really create:\n{1} ?", {newFolder()});
  if (const std::size_t at = prompt.find('\n'); at != std::string::npos)
    prompt.replace(at, 1, "\r\n");
  if (ui.msgBox(prompt, kYesNo | kQuestion, tr("Query!")) == kNo) return;

  files::expectFolderOrNothing(newFolder());
  if (files::lookup(newFolder()).empty()) files::makeFolder(newFolder());
  Dir1.refresh();
  Dir1.setPath(newFolder());
  Dir1.refresh();
  syncPath();
}

std::string frmGetFolder::FirstPathSegment(const std::string& text) {
  return text.substr(0, text.find(files::kSeparator));
}

void frmGetFolder::syncPath() {
  txtPathlist.setText(Dir1.path());
  txtPathlist.refresh();
  SelectedFolder = txtPathlist.text();
}

}  // namespace qb

#include "wizard/frmMain.h"

#include <algorithm>
#include <array>

#include "picker/frmGetFolder.h"
#include "platform/catalogue.h"
#include "platform/files.h"
#include "wizard/frmMain2.h"

namespace qb {

const WindowSpec frmMain::kWindow{
    .name = "frmMain",
    .caption = N_("Step 1 - Select or create a project folder"),
    .clientWidth = 4680,
    .clientHeight = 1065,
    .closeBox = true,
    .inTaskbar = true,
    .placement = Placement::CenterScreen,
    .icon = WindowIcon::Program,
    // One control a row, as in the window's table.
    // clang-format off
    .controls = {
        // name, kind, caption, tooltip, {left, top, width, height}, flags, picture,
        // accessible name, font
        {"Command1",  ControlKind::Button,  N_("Browse"), N_("Browse For A Folder"), {3420, 420, 1155, 255}},
        {"Text1",     ControlKind::TextBox, "",           "",                        {120, 120, 4455, 285}, kReadOnly | kPath, Picture::None, N_("Project folder")},
        {"btnCancel", ControlKind::Button,  N_("Cancel"), N_("Cancel / Exit"),       {3420, 720, 1155, 255}},
    },
    // clang-format on
};

namespace {

// The skeleton, in the order it is made. The test spelling differs from the made one in
// letter case only; the lookup ignores case, so a folder of either spelling counts.
struct SkeletonFolder {
  const char* tested;
  const char* created;
};
constexpr std::array<SkeletonFolder, 3> kSkeleton{{
    {"Images", "Images"},
    {"package", "Package"},
    {"help project", "Help Project"},
}};

std::string under(const std::string& folder, const char* name) {
  return folder + files::kSeparator + name;
}

}  // namespace

frmMain::frmMain(Ui& services, IO& io, frmGetFolder& getFolder, frmMain2& step2)
    : Form(services, kWindow), io_(io), getFolder_(getFolder), step2_(step2) {
  onClick(Command1.index(), [this] { Command1_Click(); });
  onClick(btnCancel.index(), [this] { btnCancel_Click(); });
  onQueryUnload([this](bool& cancel, UnloadMode mode) { Form_QueryUnload(cancel, mode); });
}

void frmMain::Command1_Click() {
  ui.showModal(getFolder_);
  Text1.setText(getFolder_.SelectedFolder);
  Text1.refresh();
  io_.ProjectFolder = Text1.text();
  if (Text1.text().empty()) {
    ui.msgBox(tr("This field is required"), kOkOnly, tr("Oops!"));
    return;
  }
  if (!acceptable(Text1.text())) return;
  // Everything is checked before anything is made, so a refusal leaves the disk as it was.
  files::expectFolderOrNothing(Text1.text());
  for (const SkeletonFolder& folder : kSkeleton) {
    files::expectFolderOrNothing(under(Text1.text(), folder.tested));
  }

  if (files::lookup(Text1.text()).empty()) files::makeFolder(Text1.text());
  for (std::size_t i = 0; i < kSkeleton.size(); ++i) {
    if (!files::lookup(under(Text1.text(), kSkeleton[i].tested)).empty()) continue;
    try {
      files::makeFolder(under(Text1.text(), kSkeleton[i].created));
    } catch (const PlatformError& error) {
      // A disk that fills up halfway: what was made stays, and the user learns that browsing
      // to the same folder again completes it.
      throw PlatformError(error.path(), error.reason() + "\n\n" + progress(Text1.text()));
    }
  }
  ui.showModal(step2_);
  ui.unload(*this);
}

// Only what is found there now, as folders: one gone meanwhile, or a file in the way, is not made.
std::string frmMain::progress(const std::string& folder) {
  try {
    if (files::entryAt(folder) != files::Entry::Folder) {
      return tr("The project folder is not there any more.");
    }
    std::string there, missing;
    std::size_t missed = 0;
    for (const SkeletonFolder& sub : kSkeleton) {
      const bool made = files::entryAt(under(folder, sub.tested)) == files::Entry::Folder;
      std::string& list = made ? there : missing;
      missed += made ? 0 : 1;
      // TRANSLATORS: what comes between two folder names in a list of them.
      list += list.empty() ? "" : tr(", ");
      // TRANSLATORS: a folder's name, in the language's quotation marks.
      list += tr("\"{1}\"", {sub.created});
    }
    if (missed == 0) return tr("The project folder and all its folders are there.");
    if (there.empty()) {
      // TRANSLATORS: {1} names the three folders.
      return tr(
          "The project folder and none of its folders are there; {1} are not. Choose the "
          "same folder again to make the rest.",
          {missing});
    }
    // TRANSLATORS: {1} names two folders, {2} one.
    if (missed == 1) {
      return tr(
          "The project folder and {1} are there; {2} is not. Choose the same folder again "
          "to make the rest.",
          {there, missing});
    }
    // TRANSLATORS: {1} names one folder, {2} two.
    return tr(
        "The project folder and {1} are there; {2} are not. Choose the same folder again to "
        "make the rest.",
        {there, missing});
  } catch (const PlatformError&) {
    return tr("What is there of the project folder could not be read.");
  }
}

bool frmMain::acceptable(const std::string& folder) {
  std::string reason;
  if (files::hasControlCharacter(folder)) {
    reason = tr("A folder's path may not hold line breaks or other control characters.");
  } else if (!files::isAbsolute(folder)) {
    reason = tr("Please choose a full path, one that starts from the root.");
  }
  if (reason.empty()) return true;
  ui.msgBox(asIs(folder) + "\n\n" + reason, kOkOnly, tr("Oops!"));
  return false;
}

void frmMain::btnCancel_Click() {
  ui.unload(*this);
}

void frmMain::Form_QueryUnload(bool& /*cancel*/, UnloadMode /*mode*/) {
  ui.end();
}

}  // namespace qb

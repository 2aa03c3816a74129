#pragma once

// How a form describes its window, once, as data: the caption, the frame, and the controls in
// tab order with their rectangles in twips. Front ends build live windows from it.

#include <string>
#include <vector>

namespace qb {

// Sizes are in twips (1440 to the inch); front ends turn them into pixels at the window's DPI.
struct Twips {
  int left = 0, top = 0, width = 0, height = 0;
};

enum class ControlKind { Label, TextBox, Button, DriveList, DirList };

enum class Picture { None, Done, NewFolder, Desktop, MyDocuments };

enum class WindowIcon { Program, Folder };

enum class Placement { CenterScreen, CenterOwner };

struct Font {
  std::string family;  // empty: the front end's usual dialog font
  int points = 0;
  bool bold = false;
};

enum ControlFlags : unsigned {
  kMultiLine = 1u << 0,
  kReadOnly = 1u << 1,
  kAutoSize = 1u << 2,  // a label that is as wide as its caption
  kPath = 1u << 3,      // a box of paths, which read from left to right in every language
};

struct ControlSpec {
  std::string name;
  ControlKind kind;
  std::string caption;
  std::string tooltip;
  Twips rect;
  unsigned flags = 0;
  Picture picture = Picture::None;
  // What a screen reader calls the control when neither caption nor tooltip says it: boxes and
  // lists are named by what they hold.
  std::string accessibleName = {};
  Font font = {};
};

// The name a screen reader gives the control: its own, else its caption, else its tooltip
// (a picture button shows no caption, so it goes by the tooltip a mouse user reads).
inline const std::string& accessibleNameOf(const ControlSpec& control) {
  if (!control.accessibleName.empty()) return control.accessibleName;
  return control.caption.empty() ? control.tooltip : control.caption;
}

struct WindowSpec {
  std::string name;
  std::string caption;
  int clientWidth = 0, clientHeight = 0;  // twips
  bool closeBox = true;
  bool inTaskbar = false;
  Placement placement = Placement::CenterOwner;
  WindowIcon icon = WindowIcon::Program;
  bool takesDrops = false;            // items from a file manager may be dropped on it
  std::vector<ControlSpec> controls;  // in tab order; the first has the focus when shown
};

// ---- Message and input boxes --------------------------------------------------------------

// A message box's flags: one choice of buttons plus one icon, as Windows' MessageBox takes them.
enum MsgBoxFlags : int {
  kOkOnly = 0,
  kYesNo = 4,
  kButtonsMask = 0x07,
  kQuestion = 32,
  kIconMask = 0x70,
};
enum MsgBoxResult : int { kOk = 1, kYes = 6, kNo = 7 };

enum class UnloadMode { FormControlMenu = 0, FromCode = 1 };

}  // namespace qb

#include "platform/windows/names.h"

#include <algorithm>
#include <array>

#include "platform/catalogue.h"
#include "platform/files.h"
#include "platform/windows/paths.h"

namespace qb::windows {

std::string forbiddenCharacter(char c) {
  return tr(
      "Windows refuses the character \"{1}\" in a name, as it does each of < > : \" / \\ | ? "
      "and *.",
      {std::string(1, c)});
}

std::string nameProblem(const std::string& name) {
  // Names have at most 255 UTF-16 units: each character one, or two beyond the first plane.
  std::size_t units = 0;
  for (const char c : name)
    units += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
  for (const char c : name)
    units += (static_cast<unsigned char>(c) & 0xF8) == 0xF0 ? 1 : 0;
  if (units > 255) return tr("This name is too long for a folder here.");
  if (files::hasControlCharacter(name)) {
    return tr("Names may not hold line breaks or other control characters.");
  }
  const std::size_t at = name.find_first_of(kForbidden);
  if (at != std::string::npos) return forbiddenCharacter(name[at]);
  if (!name.empty() && (name.back() == '.' || name.back() == ' ')) {
    return tr("Windows refuses a name that ends in a dot or a space.");
  }
  // Windows reads these as devices whatever extension follows them.
  std::string device = name.substr(0, name.find('.'));
  while (!device.empty() && device.back() == ' ')
    device.pop_back();
  std::string key = device;
  std::transform(key.begin(), key.end(), key.begin(), [](char c) { return upperAscii(c); });
  // As "Naming Files, Paths, and Namespaces" lists them, the superscript digits included.
  static const std::array<const char*, 32> kDevices{
      "CON",         "PRN",        "AUX",         "NUL",         "CONIN$",      "CONOUT$",
      "COM0",        "COM1",       "COM2",        "COM3",        "COM4",        "COM5",
      "COM6",        "COM7",       "COM8",        "COM9",        "LPT0",        "LPT1",
      "LPT2",        "LPT3",       "LPT4",        "LPT5",        "LPT6",        "LPT7",
      "LPT8",        "LPT9",       "COM\xC2\xB9", "COM\xC2\xB2", "COM\xC2\xB3", "LPT\xC2\xB9",
      "LPT\xC2\xB2", "LPT\xC2\xB3"};
  for (const char* reserved : kDevices) {
    if (key == reserved) {
      return tr(
          "Windows keeps the name \"{1}\" for a device, so nothing may be called that, with "
          "or without an extension.",
          {device});
    }
  }
  return {};
}

std::pair<std::string, std::string> pathProblem(const std::string& path) {
  const std::size_t root = rootLength(path);
  if (root == 0) return {};
  for (std::size_t i = root; i < path.size();) {
    const std::size_t end = std::min(path.find_first_of("\\/", i), path.size());
    const std::string_view name(path.data() + i, end - i);
    if (!name.empty() && name != "." && name != ".." &&
        (name.back() == '.' || name.back() == ' ')) {
      return {path.substr(0, end),
              tr("Windows drops the dot or space at the end of a folder's name, so a path "
                 "through this folder would lead to another one. Rename the folder, or choose "
                 "another.")};
    }
    i = end + 1;
  }
  return {};
}

std::string guardedFolderNote() {
  // TRANSLATORS: the path in Windows Security as Windows names it in the user's language.
  return tr(
      "If Windows' controlled folder access protects this folder, it refuses programs it "
      "does not know without saying so. To let Quenbrook make folders and shortcuts here, "
      "open Windows Security > Virus & threat protection > Manage ransomware protection > "
      "Allow an app through Controlled folder access, and add Quenbrook.exe.");
}

}  // namespace qb::windows

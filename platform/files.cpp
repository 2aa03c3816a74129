#include "platform/files.h"

#include "platform/files_os.h"

namespace qb::files {

bool hasControlCharacter(const std::string& text) {
  const auto byte = [&text](std::size_t i) {
    return i < text.size() ? static_cast<unsigned char>(text[i]) : static_cast<unsigned char>(0);
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char u = byte(i);
    if (u < 0x20 || u == 0x7F) return true;
    if (u == 0xC2 && byte(i + 1) >= 0x80 && byte(i + 1) <= 0x9F) return true;
    if (u == 0xE2 && byte(i + 1) == 0x80 && (byte(i + 2) == 0xA8 || byte(i + 2) == 0xA9)) {
      return true;
    }
  }
  return false;
}

std::string join(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  const bool ends = std::string(kSeparators).find(folder.back()) != std::string::npos;
  return ends ? folder + name : folder + kSeparator + name;
}

void expectFolderOrNothing(const std::string& path) {
  if (entryAt(path) != Entry::Other) return;
  const auto [parent, name] = os::splitLast(path);
  const std::string found = lookup(path);
  const std::string shown = found.empty() || found == name ? path : join(parent, found);
  const std::string broken = os::brokenLink(path);
  throw PlatformError(shown, tr("{1} It was left as it is, and nothing was made.",
                                {broken.empty() ? notAFolder() : broken}));
}

std::string nameProblem(const std::string& name) {
  if (name.empty()) return tr("No folder name was given.");
  if (name == "." || name == "..") {
    return tr("\".\" and \"..\" stand for this folder and the one above it, not for a new folder.");
  }
  const std::size_t separator = name.find_first_of(kSeparators);
  if (separator != std::string::npos) {
    return tr("\"{1}\" separates folders in a path, so no folder's name may hold it.",
              {name.substr(separator, 1)});
  }
  if (hasControlCharacter(name)) {
    return tr("Folder names may not hold line breaks or other control characters.");
  }
  return os::nameProblem(name);
}

void makeFolder(const std::string& path) {
  // Checked before anything is looked up, so that the reason names what is wrong: no name on
  // the way may hold a control character, and the one made must be a folder's.
  if (hasControlCharacter(path)) {
    throw PlatformError(path,
                        tr("Folder names may not hold line breaks or other control characters."));
  }
  const std::string problem = nameProblem(os::splitLast(path).second);
  if (!problem.empty()) throw PlatformError(path, problem);
  // Windows refuses a second name that differs only in letter case, and so does this program.
  if (!lookup(path).empty()) throw os::alreadyThere(path);
  os::createFolder(path);
}

}  // namespace qb::files

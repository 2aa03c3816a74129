#pragma once

// The file system and the environment. The rules both systems share live once, in files.cpp;
// each system's folder (posix/, windows/) gives only its primitives and its own services. Paths
// are plain text in the platform's own form; names are matched ignoring letter case, as Windows
// does, everywhere. Failures throw PlatformError.

#include <string>
#include <vector>

#include "platform/error.h"

namespace qb::files {

// The platform's path separator.
extern const char kSeparator;

// Each character that separates the names of a path here.
extern const char kSeparators[];

enum class Entry { None, Folder, Other };

// Whether text holds a line break or another control character, which no name on any of our
// platforms may hold: the C0 and C1 controls, DEL, and the line and paragraph separators
// (U+2028, U+2029), which users and other programs take as line breaks too.
bool hasControlCharacter(const std::string& text);

// Why no folder here may be called name (empty, "." or "..", a separator or a control character
// in it, too long, or a name this system refuses or would change), or empty text.
std::string nameProblem(const std::string& name);

// folder and name with one separator between them, unless folder ends in one already.
std::string join(const std::string& folder, const std::string& name);

// The directory lookup: the name of whatever exists at path, folder or file, or empty text when
// nothing does. Prefers an exact match, then a name that differs only in letter case.
std::string lookup(const std::string& path);

// What is at path, following links: a link to a folder is a folder, a dangling link is Other.
Entry entryAt(const std::string& path);

// Throws when something that is not a folder (a file, a dangling link) is at path, naming it as
// it is on disk. A folder, or nothing at all, passes.
void expectFolderOrNothing(const std::string& path);

// Makes the one folder at path; its parent must exist.
void makeFolder(const std::string& path);

// The value of an environment variable, or empty text when it is not set.
std::string environment(const std::string& name);

// The folder that holds the running program.
std::string applicationFolder();

// The user's home folder (HOME; on Windows the profile folder), or empty text when unknown.
std::string homeFolder();

// Where the system keeps the user's desktop or documents folder (the shell's known folders on
// Windows, the desktop's user-dirs.dirs elsewhere), or empty text when it cannot tell.
enum class UserFolder { Desktop, Documents };
std::string userFolder(UserFolder which);

// The working folder, where a new folder list starts; the root when it cannot be opened.
std::string workingFolder();

// Whether path names one place from the root, whatever the working directory is.
bool isAbsolute(const std::string& path);

// The folder a directory list shows for path: letter case resolved, "." and ".." worked out as
// the system does, doubled and trailing separators dropped. Throws when path is not a folder
// that can be opened, or one whose name the program could not show and type back unchanged.
std::string folderPath(const std::string& path);

// Whether a and b lead to the same folder, following links; false when either is no folder.
bool sameFolder(const std::string& a, const std::string& b);

// The folders from the root down to folder itself, each as a full path; folder is one that
// folderPath gave.
std::vector<std::string> ancestors(const std::string& folder);

// The names of the subfolders of folder (links to folders included, hidden ones left out),
// sorted ignoring letter case.
std::vector<std::string> subfolders(const std::string& folder);

// The roots of the drives a user would pick, and the drive that holds a path.
std::vector<std::string> drives();
std::string driveOf(const std::string& path);

}  // namespace qb::files

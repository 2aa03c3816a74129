// Windows as the program sees it, on real folders, in what the stories cannot reach: wildcards,
// odd separators, drives and shares, paths longer than MAX_PATH, the working folder, every name
// Windows refuses, and shortcuts that must not replace anything.

#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/files.h"
#include "platform/windows/files.h"
#include "platform/windows/names.h"
#include "platform/windows/paths.h"
#include "platform/windows/text.h"
#include "shortcut/MakeLink.h"
#include "shortcut/ShellLink.h"
#include "tests/support/Disk.h"

namespace qb::test {
namespace {

// Folders nested under root until the deepest path is longer than MAX_PATH, the deepest last.
std::vector<std::string> makeDeepFolders(const std::string& root) {
  std::vector<std::string> deep{root};
  while (deep.back().size() <= MAX_PATH + 40) {
    deep.push_back(deep.back() + "\\Folder " + std::to_string(deep.size()) + std::string(40, 'x'));
    files::makeFolder(deep.back());
  }
  return deep;
}

// Windows itself cannot remove these without the \\?\ form.
void removeDeep(const std::vector<std::string>& deep) {
  for (std::size_t i = deep.size() - 1; i > 0; --i)
    EXPECT_TRUE(RemoveDirectoryW((L"\\\\?\\" + u8(deep[i]).wstring()).c_str())) << deep[i];
}

std::string join(const std::vector<std::string>& names) {
  std::string out;
  for (const std::string& name : names)
    out += (out.empty() ? "" : "|") + name;
  return out;
}

// What the call named gives for path: text, or "refused: " and the reason it gave.
std::string ask(const std::string& call, const std::string& path) {
  try {
    if (call == "lookup") return files::lookup(path);
    if (call == "entry") {
      const files::Entry entry = files::entryAt(path);
      return entry == files::Entry::Folder ? "Folder" : entry == files::Entry::Other ? "Other" : "";
    }
    if (call == "folder") return files::folderPath(path);
    if (call == "working") return files::workingFolder();
    if (call == "list") return join(files::subfolders(path));
    if (call == "way") return join(files::ancestors(path));
    if (call == "drive") return files::driveOf(path);
    if (call == "same") {
      const std::size_t bar = path.find('|');
      return files::sameFolder(path.substr(0, bar), path.substr(bar + 1)) ? "same" : "other";
    }
    files::makeFolder(path);
    return files::lookup(path);
  } catch (const PlatformError& error) {
    return "refused: " + error.reason();
  }
}

TEST(WinFiles, PathsAndNamesAreTakenAsWindowsTakesThem) {
  TempFolder temp;
  for (const char* folder : {"Desktop", "Sub/Inner", "ärger", "List/beta", "List/Alpha",
                             "List/_under", "List/Beta2", "Made"})
    makeFolders(temp / folder);
  makeHiddenFolder(temp / "List/Hidden");
  writeFile(temp / "List/a file");
  writeFile(temp / "notes.TXT");
  const std::string real = files::folderPath(temp.path());
  const std::string drive = files::driveOf(real);
  char unused = 'Z';  // a letter no drive has
  while (join(files::drives()).find(std::string(1, unused) + ':') != std::string::npos)
    --unused;
  const std::string missing = std::string(1, unused) + ":\\";
  const std::vector<std::string> deep = makeDeepFolders(temp.path());
  const std::string last = deep.back().substr(deep.back().rfind('\\') + 1);
  std::string loud = deep.back();
  for (char& c : loud)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const std::string before = files::workingFolder();
  SetCurrentDirectoryW(u8(temp / "SUB").wstring().c_str());

  struct Case {
    std::string call, path;
    std::string expected;  // for a refusal "refused: " and words of its reason
  };
  std::vector<Case> cases{
      {"lookup", temp.path() + "/DESKTOP\\\\", "Desktop"},
      {"lookup", temp / "notes.txt/in", ""},
      {"entry", temp / "notes.txt/in", ""},
      {"make", temp / "Проект 项目 🚀", "Проект 项目 🚀"},
      {"lookup", temp / "ПРОЕКТ 项目 🚀", "Проект 项目 🚀"},
      {"lookup", temp / "ÄRGER", "ärger"},
      {"lookup", temp / "D*", "refused: \"*\""},
      {"entry", temp / "Deskto?", "refused: \"?\""},
      {"folder", temp / "D<", "refused: \"<\""},
      {"list", temp / "L\"", "refused: \"\"\""},
      {"folder", temp.path() + "\\\\sub/INNER\\", real + "\\Sub\\Inner"},
      {"folder", temp / "Sub/Inner/../../SUB/./inner", real + "\\Sub\\Inner"},
      {"folder", temp / "NOTES.txt", "refused: not a folder"},
      {"folder", "", "refused: "},
      {"working", "", real + "\\Sub"},
      {"folder", "inner", real + "\\Sub\\Inner"},
      {"folder", "..", real},
      {"list", temp / "List", "Alpha|beta|Beta2|_under"},  // '_' after 'Z', as Windows orders
      {"lookup", drive, drive},
      {"entry", drive, "Folder"},
      {"lookup", missing, ""},
      {"entry", missing + "Folder", ""},
      {"folder", missing, "refused: "},
      {"drive", "c:/Windows/System32", "C:\\"},
      {"drive", "\\\\server\\share\\a\\b", "\\\\server\\share\\"},
      {"way", "C:\\a\\b", "C:\\|C:\\a|C:\\a\\b"},
      {"way", "\\\\server\\share\\a", "\\\\server\\share\\|\\\\server\\share\\a"},
      {"lookup", loud, last},
      {"entry", deep.back(), "Folder"},
      {"folder", loud + "\\", real + deep.back().substr(temp.path().size())},
      {"list", deep[deep.size() - 2], last},
      {"same", temp / "Sub|" + temp / "Sub/Inner", "other"},
      {"same", temp / "Sub/Inner|" + temp / "SUB/./INNER/", "same"},
      {"same", temp / "List/beta|" + temp / "List/Beta2", "other"},
      {"same", temp / "notes.TXT|" + temp / "notes.TXT", "other"},
      {"same", loud + "|" + deep.back(), "same"},
      {"folder", temp / "Sub./Inner", "refused: drops the dot"},
      {"folder", temp / "Sub /Inner", "refused: drops the dot or space"},
      {"make", temp / "Made./x", "refused: drops the dot"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.call + " " + c.path);
    const std::string got = ask(c.call, c.path);
    if (c.expected.starts_with("refused: ")) {
      EXPECT_TRUE(got.starts_with(c.expected.substr(0, 9)) &&
                  got.find(c.expected.substr(9)) != got.npos)
          << got;
    } else {
      EXPECT_EQ(got, c.expected);
    }
  }
  SetCurrentDirectoryW(u8(before).wstring().c_str());
  removeDeep(deep);
}

// Shortcuts beyond MAX_PATH, names Windows changes, and the link layer itself, which never
// replaces what is there.
TEST(WinShortcut, ShortcutsAreMadeOnlyWhereTheyLeadToTheProjectAndNothingIsReplaced) {
  TempFolder temp;
  makeFolders(temp / "Project");
  makeFolders(temp / "Links");
  writeFile(temp / "Links/notes.LNK");
  const std::string links = temp / "Links", project = temp / "Project";
  const std::vector<std::string> deep = makeDeepFolders(temp.path());
  MkLink(deep.back(), "Project", project, "");
  MkLink(links, "a.", project, "");  // the file "a..lnk", which Windows takes
  EXPECT_EQ(files::lookup(deep.back() + "\\PROJECT.LNK"), "Project.lnk");

  // A shortcut to a folder whose path is longer than Windows' shell follows.
  try {
    MkLink(links, "Deep", deep.back(), "");
    ADD_FAILURE() << "made";
  } catch (const PlatformError& error) {
    EXPECT_EQ(error.path(), deep.back());
    EXPECT_NE(error.reason().find("shorter than 260 letters"), std::string::npos) << error.reason();
  }
  // The link layer never replaces what is there, even what appeared after MkLink looked.
  for (const char* name : {"\\notes.LNK", "\\NOTES.lnk"})
    EXPECT_THROW(shell::makeLink(files::folderPath(links) + name, project, ""), PlatformError);
  EXPECT_EQ(readFile(temp / "Links/notes.LNK"), "keep me");
  EXPECT_EQ(tree(links), (std::vector<std::string>{"a..lnk", "notes.LNK"}));

  EXPECT_TRUE(DeleteFileW((L"\\\\?\\" + u8(deep.back() + "\\Project.lnk").wstring()).c_str()));
  removeDeep(deep);
}

// A folder whose name holds what looks like a variable is the folder meant, not the one the
// variable would name: the shortcut keeps no path to expand, neither flagged in its header
// (HasExpString) nor in a block of its own (EnvironmentVariableDataBlock), which a reader may
// follow without the flag.
TEST(WinShortcut, LeadsToTheFolderAsNamed) {
  TempFolder temp;
  const std::string user = files::environment("USERNAME");
  ASSERT_FALSE(user.empty());
  for (const std::string& name :
       {std::string("%USERNAME% notes"), user + " notes", std::string("Links")})
    makeFolders(temp / name);
  const std::string project = files::folderPath(temp / "%USERNAME% notes");
  MkLink(temp / "Links", "Notes", project, "");
  const LinkFile link = readLinkFile(temp / "Links/Notes.lnk");
  ASSERT_TRUE(link.read);
  EXPECT_EQ(link.flags & 0x200, 0u) << "an expandable path";
  for (const unsigned block : link.blocks)
    EXPECT_NE(block, 0xA0000001u) << "an expandable path";
  EXPECT_EQ(link.target, project);
}

// The program's reading of Windows' naming rules and path grammar against what Windows itself
// answers for the same text, over a corpus made here: every character of the Basic Multilingual
// Plane inside a name (surrogates, which are no characters, aside) and each Latin-1 one at its
// end, device names as users spell them; and paths of every shape, made absolute by
// GetFullPathNameW. Windows takes a name when CreateDirectoryW makes a folder of exactly that
// name. Where wine answers otherwise than Windows, the disagreement is listed with the reason.
TEST(WinRules, AgreeWithWhatWindowsAnswers) {
  TempFolder temp;
  const std::wstring folder = u8(temp.path()).wstring() + L"\\";
  const auto windowsTakes = [&](const std::wstring& name) {
    if (!CreateDirectoryW((folder + name).c_str(), nullptr)) return false;
    WIN32_FIND_DATAW found;
    const HANDLE find = FindFirstFileW((folder + L"*").c_str(), &found);
    while (find != INVALID_HANDLE_VALUE && found.cFileName[0] == L'.' &&
           FindNextFileW(find, &found))
      ;
    FindClose(find);
    RemoveDirectoryW((L"\\\\?\\" + folder + found.cFileName).c_str());
    return name == found.cFileName;
  };
  std::vector<std::wstring> names;
  for (wchar_t c = 1; c != 0; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    names.push_back(std::wstring(L"a") + c + L"b");
    if (c < 0x100) names.push_back(std::wstring(L"ab") + c);
  }
  for (const wchar_t* device : {L"CON", L"con", L"Con.txt", L"NUL.tar.gz", L"aux .log", L"COM1",
                                L"com\u00B9", L"LPT\u00B3.x", L"COM0", L"lpt0.txt", L"CONIN$",
                                L"conout$.txt", L"COM10", L"LPT", L"console", L"PRN "})
    names.push_back(device);
  // Where the answers differ on purpose: the program refuses DEL, the C1 controls and the line
  // and paragraph separators, which Windows takes, as no name can show them as text. Where wine
  // answers otherwise than Windows ("Naming Files, Paths, and Namespaces", Naming Conventions):
  // it takes ':' as a letter, where Windows reads a stream's name after it, and it takes COM0,
  // LPT0 and the superscript forms, which Windows keeps for devices.
  const auto onPurpose = [](const std::wstring& name) {
    std::wstring device = name.substr(0, name.find(L'.'));
    CharUpperW(device.data());
    const bool wineTakes =
        device.size() == 4 && (device.starts_with(L"COM") || device.starts_with(L"LPT")) &&
        std::wstring(L"0\u00B9\u00B2\u00B3").find(device[3]) != std::wstring::npos;
    return wineTakes || std::any_of(name.begin(), name.end(), [](wchar_t c) {
             return c == 0x7F || (c >= 0x80 && c <= 0x9F) || c == 0x2028 || c == 0x2029 ||
                    c == L':';
           });
  };
  std::vector<std::wstring> disagree;
  for (const std::wstring& name : names) {
    const bool ours = windows::nameProblem(windows::utf8(name)).empty();
    if (ours != windowsTakes(name) && !onPurpose(name)) disagree.push_back(name);
  }
  // Paths of every shape, everyday and long, made absolute as Windows does and as the program
  // does; where the program refuses a name Windows would change, Windows' answer is not asked.
  const std::vector<std::wstring> roots{L"C:\\", L"c:/", L"\\\\server\\share\\",
                                        L"//server/share/"};
  const std::vector<std::wstring> steps{L"a", L"b c", L".", L"..", L"x.y", std::wstring(240, L'n')};
  const std::vector<std::wstring> separators{L"\\", L"/", L"\\\\", L"/\\"};
  unsigned seed = 1;
  const auto next = [&seed](std::size_t n) {
    return (seed = seed * 1103515245 + 12345) / 65536 % n;
  };
  int paths = 0;
  for (int i = 0; i < 4000; ++i) {
    std::wstring path = roots[next(roots.size())];
    for (std::size_t k = next(5); k > 0; --k)
      path += steps[next(steps.size())] +
              (k > 1 || next(2) ? separators[next(separators.size())] : L"");
    if (!windows::pathProblem(windows::utf8(path)).first.empty()) continue;
    std::wstring full(40000, L'\0');
    full.resize(
        GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr));
    // The program shows a drive's letter in capitals and no separator at the end.
    while (full.size() > windows::rootLength(full) && full.back() == L'\\')
      full.pop_back();
    if (windows::rootLength(full) == 3) full[0] = windows::upperAscii(full[0]);
    ++paths;
    if (windows::plain(path) != full) disagree.push_back(path + L" -> " + full);
  }
  std::string listed;
  for (const std::wstring& name : disagree)
    listed += windows::utf8(name) + " ";
  EXPECT_TRUE(disagree.empty()) << names.size() << " names, " << paths << " paths, "
                                << disagree.size() << " disagreements: " << listed;
}

}  // namespace
}  // namespace qb::test

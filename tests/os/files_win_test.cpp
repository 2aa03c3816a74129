// The Windows file system as the program sees it, on real folders: names match ignoring letter
// case, names Windows refuses are refused before anything is made, and paths may be longer than
// MAX_PATH.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/files.h"
#include "tests/support/Disk.h"

namespace qb::test {
namespace {

std::wstring wide(const std::string& path) {
  return u8(path).wstring();
}

std::string upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
  return text;
}

std::string parentOf(const std::string& path) {
  return path.substr(0, path.find_last_of('\\'));
}

// The reason a refusal gives; empty text when there was none.
template <typename Action>
std::string refusal(Action action) {
  try {
    action();
  } catch (const PlatformError& error) {
    return error.reason();
  }
  return {};
}

TEST(WinFiles, TheLookupFindsFilesAndFoldersIgnoringCaseAndNeverExpandsWildcards) {
  TempFolder temp;
  makeFolders(temp / "Desktop");
  writeFile(temp / "notes.TXT");
  EXPECT_EQ(files::lookup(temp / "DESKTOP"), "Desktop");
  EXPECT_EQ(files::lookup(temp / "notes.txt"), "notes.TXT");
  EXPECT_EQ(files::lookup(temp.path() + "/desktop\\\\"), "Desktop");
  EXPECT_EQ(files::lookup(temp / "DESKTOP/../desktop"), "Desktop");
  EXPECT_EQ(files::lookup(temp / "desktop/Nothing"), "");
  EXPECT_EQ(files::lookup(temp / "notes.txt/inside"), "");
  EXPECT_EQ(files::lookup(temp / "ÄRGER"), "");
  makeFolders(temp / "ärger");
  EXPECT_EQ(files::lookup(temp / "ÄRGER"), "ärger");

  for (const char* pattern : {"*", "D*", "Deskto?", "notes.*", "Desktop\"", "D<", ">"}) {
    SCOPED_TRACE(pattern);
    EXPECT_THROW(files::lookup(temp / pattern), PlatformError);
    EXPECT_THROW(files::entryAt(temp / pattern), PlatformError);
  }

  EXPECT_EQ(files::entryAt(temp / "DESKTOP"), files::Entry::Folder);
  EXPECT_EQ(files::entryAt(temp / "Notes.Txt"), files::Entry::Other);
  EXPECT_EQ(files::entryAt(temp / "missing"), files::Entry::None);
  EXPECT_EQ(files::entryAt(temp / "notes.txt/inside"), files::Entry::None);
  EXPECT_NO_THROW(files::expectFolderOrNothing(temp / "desktop"));
  EXPECT_NO_THROW(files::expectFolderOrNothing(temp / "missing"));
  try {
    files::expectFolderOrNothing(temp / "NOTES.txt");
    ADD_FAILURE() << "a file passed as a folder";
  } catch (const PlatformError& error) {
    EXPECT_EQ(error.path(), temp / "notes.TXT");  // as it is on disk
    EXPECT_NE(error.reason().find("not a folder"), std::string::npos) << error.reason();
  }
}

TEST(WinFiles, NamesWindowsRefusesAreRefusedWithTheirReasonAndNothingIsMade) {
  TempFolder temp;
  struct Case {
    std::string name;
    const char* named;  // what the reason points at
  };
  const std::vector<Case> cases{
      {"CON", "\"CON\""},         {"con.txt", "\"con\""},  {"LPT1", "\"LPT1\""},
      {"Nul.tar.gz", "\"Nul\""},  {"aux", "\"aux\""},      {"com9", "\"com9\""},
      {"COM\xC2\xB9", "device"},  {"PRN .log", "\"PRN\""}, {"trailing.", "dot"},
      {"trailing ", "space"},     {"a<b", "\"<\""},        {"a>b", "\">\""},
      {"a:b", "\":\""},           {"a\"b", "\"\"\""},      {"a|b", "\"|\""},
      {"a?b", "\"?\""},           {"a*b", "\"*\""},        {"tab\there", "control"},
      {"line\nbreak", "control"}, {"..", "dot"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string reason = refusal([&] { files::makeFolder(temp / c.name); });
    EXPECT_NE(reason.find(c.named), std::string::npos) << reason;
  }
  EXPECT_TRUE(tree(temp.path()).empty());

  // Names that only look like those are fine.
  for (const char* name : {"CONSOLE", "COM10", "LPT", "con-notes", "Proj.v2", ".config"}) {
    SCOPED_TRACE(name);
    EXPECT_NO_THROW(files::makeFolder(temp / name));
    EXPECT_TRUE(isFolder(temp / name));
  }
}

TEST(WinFiles, MakingAFolderFollowsTheExistingLetterCaseAndRefusesDuplicates) {
  TempFolder temp;
  files::makeFolder(temp / "Project");
  files::makeFolder(temp / "PROJECT/Images");
  EXPECT_TRUE(isFolder(temp / "Project/Images"));
  EXPECT_THROW(files::makeFolder(temp / "project/IMAGES"), PlatformError);
  EXPECT_THROW(files::makeFolder(temp / "missing/Images"), PlatformError);
  writeFile(temp / "notes.txt");
  EXPECT_THROW(files::makeFolder(temp / "notes.txt/Images"), PlatformError);
  EXPECT_THROW(files::makeFolder(temp / "NOTES.TXT"), PlatformError);
  EXPECT_EQ(tree(temp.path()),
            (std::vector<std::string>{"Project/", "Project/Images/", "notes.txt"}));
}

TEST(WinFiles, PathsLongerThanMaxPathCanBeMadeLookedUpAndListed) {
  TempFolder temp;
  std::vector<std::string> made;
  std::string path = temp.path();
  while (path.size() <= MAX_PATH + 40) {
    path += "\\Folder " + std::to_string(made.size()) + " " + std::string(40, 'x');
    files::makeFolder(path);
    made.push_back(path);
  }
  const std::string last = path.substr(path.rfind('\\') + 1);
  EXPECT_EQ(files::lookup(upper(path)), last);
  EXPECT_EQ(files::entryAt(path), files::Entry::Folder);
  EXPECT_EQ(files::folderPath(upper(path) + "\\"),
            files::folderPath(temp.path()) + path.substr(temp.path().size()));
  EXPECT_EQ(files::subfolders(made[made.size() - 2]), std::vector<std::string>{last});
  files::makeFolder(path + "\\Innermost");
  made.push_back(path + "\\Innermost");
  EXPECT_EQ(files::subfolders(path), std::vector<std::string>{"Innermost"});
  EXPECT_EQ(files::ancestors(path).back(), path);

  // Windows itself cannot remove these without the \\?\ form either.
  for (auto it = made.rbegin(); it != made.rend(); ++it) {
    EXPECT_TRUE(RemoveDirectoryW((L"\\\\?\\" + wide(*it)).c_str())) << *it;
  }
}

TEST(WinFiles, TheFolderListPathHasTheLetterCaseOnDiskAndMustBeAFolder) {
  TempFolder temp;
  makeFolders(temp / "Sub/Inner");
  writeFile(temp / "file");
  const std::string real = files::folderPath(temp.path());
  EXPECT_EQ(files::folderPath(upper(temp.path())), real);
  EXPECT_EQ(files::folderPath(upper(temp.path()) + "\\\\sub/INNER\\"), real + "\\Sub\\Inner");
  EXPECT_EQ(files::folderPath(temp / "Sub/Inner/../../SUB/./inner"), real + "\\Sub\\Inner");

  EXPECT_NE(refusal([&] { files::folderPath(temp / "FILE"); }).find("not a folder"),
            std::string::npos);
  EXPECT_FALSE(refusal([&] { files::folderPath(temp / "missing"); }).empty());
  EXPECT_FALSE(refusal([&] { files::folderPath(temp / "file/inside"); }).empty());
  EXPECT_FALSE(refusal([&] { files::folderPath(""); }).empty());

  // A relative path counts from the working folder.
  const std::string before = files::workingFolder();
  ASSERT_TRUE(SetCurrentDirectoryW(wide(temp / "SUB").c_str()));
  EXPECT_EQ(files::workingFolder(), real + "\\Sub");
  EXPECT_EQ(files::folderPath("inner"), real + "\\Sub\\Inner");
  EXPECT_EQ(files::folderPath(".."), real);
  SetCurrentDirectoryW(wide(before).c_str());

  const std::vector<std::string> way = files::ancestors(real + "\\Sub\\Inner");
  ASSERT_GE(way.size(), 3u);
  EXPECT_EQ(way.front(), files::driveOf(real));
  EXPECT_EQ(way[way.size() - 2], real + "\\Sub");
  EXPECT_EQ(way.back(), real + "\\Sub\\Inner");
  EXPECT_EQ(files::ancestors("C:\\"), std::vector<std::string>{"C:\\"});
  EXPECT_EQ(files::ancestors("\\\\server\\share\\a"),
            (std::vector<std::string>{"\\\\server\\share\\", "\\\\server\\share\\a"}));
}

TEST(WinFiles, DrivesAreListedByTheirRootsAndEachPathKnowsItsDrive) {
  TempFolder temp;
  const std::vector<std::string> roots = files::drives();
  ASSERT_FALSE(roots.empty());
  for (const std::string& root : roots) {
    SCOPED_TRACE(root);
    ASSERT_EQ(root.size(), 3u);
    EXPECT_TRUE(root[0] >= 'A' && root[0] <= 'Z');
    EXPECT_EQ(root.substr(1), ":\\");
  }
  const std::string drive = files::driveOf(temp.path());
  EXPECT_NE(std::find(roots.begin(), roots.end(), drive), roots.end()) << drive;
  EXPECT_EQ(files::lookup(drive), drive);
  EXPECT_EQ(files::entryAt(drive), files::Entry::Folder);
  EXPECT_EQ(files::folderPath(drive), drive);
  EXPECT_EQ(files::ancestors(drive), std::vector<std::string>{drive});
  EXPECT_EQ(files::driveOf("c:/Windows/System32"), "C:\\");
  EXPECT_EQ(files::driveOf("\\\\server\\share\\a\\b"), "\\\\server\\share\\");

  // A letter no drive has: nothing is there, and the folder list cannot go there.
  char unused = 'Z';
  while (unused > 'D' &&
         std::find(roots.begin(), roots.end(), std::string(1, unused) + ":\\") != roots.end()) {
    --unused;
  }
  const std::string missing = std::string(1, unused) + ":\\";
  EXPECT_EQ(files::lookup(missing), "");
  EXPECT_EQ(files::entryAt(missing + "Folder"), files::Entry::None);
  EXPECT_THROW(files::folderPath(missing), PlatformError);
}

TEST(WinFiles, SubfoldersAreSortedIgnoringCaseWithoutFilesOrHiddenFolders) {
  TempFolder temp;
  for (const char* name : {"beta", "Alpha", "gamma", "Beta2", "Ärger", "zeta", "_under"}) {
    makeFolders(temp / name);
  }
  makeHiddenFolder(temp / "Hidden");
  writeFile(temp / "a file");
  const bool linked = makeFolderLink(temp / "zeta", temp / "link to zeta");
  std::vector<std::string> expected{"Alpha", "beta", "Beta2", "gamma"};
  if (linked) expected.push_back("link to zeta");
  // Ordinal comparison ignoring case compares capitals, as the file system does: "_" follows "Z".
  for (const char* name : {"zeta", "_under", "Ärger"})
    expected.push_back(name);
  const std::vector<std::string> names = files::subfolders(temp.path());
  EXPECT_EQ(names, expected);
  EXPECT_TRUE(std::is_sorted(names.begin(), names.end(), files::lessIgnoringCase));
  EXPECT_THROW(files::subfolders(temp / "missing"), PlatformError);
  EXPECT_THROW(files::subfolders(temp / "a file"), PlatformError);
}

TEST(WinFiles, NonAsciiNamesRoundTrip) {
  TempFolder temp;
  const std::string name = "Проект 项目 🚀";
  files::makeFolder(temp / name);
  EXPECT_EQ(files::lookup(temp / "ПРОЕКТ 项目 🚀"), name);
  EXPECT_EQ(files::subfolders(temp.path()), std::vector<std::string>{name});
  EXPECT_EQ(files::folderPath(temp / "проект 项目 🚀"),
            files::folderPath(temp.path()) + "\\" + name);
  EXPECT_EQ(tree(temp.path()), std::vector<std::string>{name + "/"});
}

// The version block Explorer shows in the program file's properties.
TEST(ProgramFile, CarriesItsVersionBlock) {
  // The program is built in the build folder's root, the tests in a folder below it.
  const std::string program = parentOf(files::applicationFolder()) + "\\Quenbrook.exe";
  if (files::lookup(program).empty()) GTEST_SKIP() << program << " is not built";
  const std::wstring file = wide(program);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(file.c_str(), 0, size, block.data()));

  const auto query = [&](const std::wstring& key, UINT* length = nullptr) -> void* {
    void* value = nullptr;
    UINT ignoredLength = 0;
    return VerQueryValueW(block.data(), key.c_str(), &value, length ? length : &ignoredLength)
               ? value
               : nullptr;
  };
  const auto text = [&](const wchar_t* key) -> std::string {
    const auto* value =
        static_cast<const wchar_t*>(query(std::wstring(L"\\StringFileInfo\\040904B0\\") + key));
    if (!value) return "(missing)";
    const std::u8string utf8 = std::filesystem::path(value).u8string();
    return std::string(utf8.begin(), utf8.end());
  };
  EXPECT_EQ(text(L"FileVersion"), "1.00");
  EXPECT_EQ(text(L"ProductVersion"), "1.00");
  EXPECT_EQ(text(L"ProductName"), "Quenbrook");
  EXPECT_EQ(text(L"InternalName"), "Quenbrook");
  EXPECT_EQ(text(L"OriginalFilename"), "Quenbrook.exe");

  UINT length = 0;
  const auto* language = static_cast<const WORD*>(query(L"\\VarFileInfo\\Translation", &length));
  ASSERT_NE(language, nullptr);
  ASSERT_GE(length, 4u);
  EXPECT_EQ(language[0], 0x0409);
  EXPECT_EQ(language[1], 0x04B0);

  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(query(L"\\"));
  ASSERT_NE(fixed, nullptr);
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);  // 1.0
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00000000u);  // .0.0
}

}  // namespace
}  // namespace qb::test

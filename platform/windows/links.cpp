#include "platform/windows/links.h"

#include <cstring>

#include "platform/windows/paths.h"

namespace qb::windows {

namespace {

// What path leads to, opened to read about it only, and closed when it goes; INVALID_HANDLE_VALUE
// when it cannot be opened, with the reason in GetLastError.
struct Opened {
  explicit Opened(const std::wstring& path)
      : handle(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)) {}
  ~Opened() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
  Opened(const Opened&) = delete;
  Opened& operator=(const Opened&) = delete;
  const HANDLE handle;
};

// Which folder path leads to, following links. The 128-bit id where the file system gives one:
// the 64-bit index is not unique on ReFS, and 0 on some shares, and an id of 0 names nothing.
struct FolderId {
  bool known = false;
  bool wide = false;  // the 128-bit id, not the 64-bit index
  ULONGLONG volume = 0;
  unsigned char id[16] = {};
};

FolderId folderId(const std::wstring& path) {
  FolderId out;
  const Opened opened(path);
  const HANDLE handle = opened.handle;
  if (handle == INVALID_HANDLE_VALUE) return out;
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(handle, &info) ||
      !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return out;
  }
  FILE_ID_INFO wideId{};
  if (GetFileInformationByHandleEx(handle, FileIdInfo, &wideId, sizeof wideId)) {
    out.wide = true;
    out.volume = wideId.VolumeSerialNumber;
    static_assert(sizeof out.id == sizeof wideId.FileId.Identifier);
    std::memcpy(out.id, wideId.FileId.Identifier, sizeof out.id);
  } else {
    // Before Windows 8, and file systems that do not answer it: the 64-bit index.
    out.volume = info.dwVolumeSerialNumber;
    const ULONGLONG index = (ULONGLONG{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
    std::memcpy(out.id, &index, sizeof index);
  }
  static const unsigned char kNone[16] = {};
  out.known = std::memcmp(out.id, kNone, sizeof kNone) != 0;
  return out;
}

}  // namespace

bool isNothingThere(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
         error == ERROR_INVALID_NAME || error == ERROR_DIRECTORY || error == ERROR_INVALID_DRIVE ||
         error == ERROR_BAD_PATHNAME;
}

DWORD openTarget(const std::wstring& path, BY_HANDLE_FILE_INFORMATION* info) {
  const Opened opened(path);
  if (opened.handle == INVALID_HANDLE_VALUE) return GetLastError();
  return GetFileInformationByHandle(opened.handle, info) ? 0 : GetLastError();
}

bool leadsToFolder(const std::wstring& path) {
  BY_HANDLE_FILE_INFORMATION info;
  const DWORD error = openTarget(path, &info);
  // There, though it may not be opened, unless nothing is, or links lead round in a loop.
  if (error != 0) return !isNothingThere(error) && error != ERROR_CANT_RESOLVE_FILENAME;
  return (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Windows lists a link that leads nowhere with attributes of its own and cannot open it; wine
// lists nothing, and finding it by its exact name reports no more files instead of no such file.
DWORD brokenLink(const std::wstring& path) {
  WIN32_FIND_DATAW data;
  const HANDLE find = FindFirstFileW(path.c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    FindClose(find);
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) return 0;
  } else if (GetLastError() != ERROR_NO_MORE_FILES) {
    return 0;
  }
  BY_HANDLE_FILE_INFORMATION info;
  const DWORD error = openTarget(path, &info);
  return isNothingThere(error) || error == ERROR_CANT_RESOLVE_FILENAME ? error : 0;
}

bool isDanglingLink(const std::wstring& path) {
  return brokenLink(path) != 0;
}

std::wstring finalPath(const std::wstring& path) {
  const Opened opened(path);
  if (opened.handle == INVALID_HANDLE_VALUE) return {};
  std::wstring target(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetFinalPathNameByHandleW(opened.handle, target.data(), static_cast<DWORD>(target.size()),
                                  FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0) return {};
    if (length < target.size()) {
      target.resize(length);
      return plain(target);
    }
    target.resize(length);
  }
}

// Read from where the path leads without listing any folder on the way. Only the trailing names
// that are the same but for letter case are taken, so that the path keeps its own drive letter or
// share and any link on the way.
std::wstring spelledOnDisk(const std::wstring& path) {
  const std::wstring target = finalPath(extended(path));
  const std::size_t root = rootLength(path), targetRoot = rootLength(target);
  if (target.empty() || targetRoot == 0) return path;
  std::size_t mine = path.size(), theirs = target.size();
  while (mine > root && theirs > targetRoot) {
    const std::size_t myStart = path.rfind(L'\\', mine - 1) + 1;
    const std::size_t theirStart = target.rfind(L'\\', theirs - 1) + 1;
    if (myStart < root || theirStart < targetRoot ||
        CompareStringOrdinal(path.data() + myStart, static_cast<int>(mine - myStart),
                             target.data() + theirStart, static_cast<int>(theirs - theirStart),
                             TRUE) != CSTR_EQUAL) {
      break;
    }
    mine = myStart > 0 ? myStart - 1 : 0;
    theirs = theirStart > 0 ? theirStart - 1 : 0;
  }
  // Both now end where the names that match begin, at a separator or at the root.
  const std::size_t mineCut = mine < root ? root : mine;
  std::size_t theirCut = theirs < targetRoot ? targetRoot : theirs;
  if (mineCut == root && theirCut < target.size() && target[theirCut] == L'\\') ++theirCut;
  return path.substr(0, mineCut) + target.substr(theirCut);
}

bool sameFolder(const std::wstring& a, const std::wstring& b) {
  const FolderId first = folderId(a), second = folderId(b);
  return first.known && second.known && first.wide == second.wide &&
         first.volume == second.volume && std::memcmp(first.id, second.id, sizeof first.id) == 0;
}

}  // namespace qb::windows

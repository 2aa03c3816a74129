// On Windows a shortcut is a .lnk file, written by the shell's own link object so that Explorer,
// the file dialogs and the Start menu all follow it.

#include <windows.h>

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "platform/files.h"
#include "platform/windows/com.h"
#include "platform/windows/files.h"
#include "platform/windows/names.h"
#include "platform/windows/text.h"
#include "shortcut/ShellLink.h"

namespace qb::shell {

namespace {

// One COM interface, released when it goes.
template <typename T>
class Com {
 public:
  Com() = default;
  ~Com() {
    if (p_) p_->Release();
  }
  Com(const Com&) = delete;
  Com& operator=(const Com&) = delete;

  T* operator->() const { return p_; }
  T& operator*() const { return *p_; }
  void** out() { return reinterpret_cast<void**>(&p_); }

 private:
  T* p_ = nullptr;
};

// COM for this thread while the shortcut is made. A thread that already chose the other
// threading model keeps it: the link object works in either.
class ComThread {
 public:
  explicit ComThread(const std::string& link) : com_(windows::com()) {
    if (!com_) throw PlatformError(link, "The shell's link object could not be loaded.");
    const HRESULT result =
        com_->initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    if (result == RPC_E_CHANGED_MODE) return;
    if (FAILED(result)) throw windows::systemError(link, static_cast<unsigned long>(result));
    joined_ = true;  // S_OK or S_FALSE: each asks for one CoUninitialize
  }
  ~ComThread() {
    if (joined_) com_->uninitialize();
  }
  ComThread(const ComThread&) = delete;
  ComThread& operator=(const ComThread&) = delete;

  const windows::Com& functions() const { return *com_; }

 private:
  const windows::Com* com_;
  bool joined_ = false;
};

void check(HRESULT result, const std::string& link) {
  if (FAILED(result)) throw windows::systemError(link, static_cast<unsigned long>(result));
}

// The path as the shell's link object takes it: the short form when it fits, as the shell
// expects; the \\?\ form beyond MAX_PATH.
std::wstring shellPath(const std::string& path) {
  const std::wstring wide = windows::wide(path);
  return wide.size() < MAX_PATH ? wide : windows::apiPath(path);
}

// The shell keeps a path that holds '%' as text to expand whenever the shortcut is opened, so
// "%USERNAME% notes" would lead to the folder of whoever opens it, or to none. The link leads to
// the folder itself, named by its ID list, and keeps nothing to expand.
void leadAsNamed(IShellLinkW& shellLink, const windows::Com& com, const std::string& destination,
                 const std::string& link) {
  if (destination.find('%') == std::string::npos) return;
  if (com.idList && com.freeIdList) {
    if (PIDLIST_ABSOLUTE list = com.idList(shellPath(destination).c_str())) {
      const HRESULT result = shellLink.SetIDList(list);
      com.freeIdList(list);
      check(result, link);
    }
  }
  Com<IShellLinkDataList> data;
  DWORD flags = 0;
  if (SUCCEEDED(shellLink.QueryInterface(IID_IShellLinkDataList, data.out())) &&
      SUCCEEDED(data->GetFlags(&flags)) && (flags & SLDF_HAS_EXP_SZ)) {
    check(data->SetFlags(flags & ~static_cast<DWORD>(SLDF_HAS_EXP_SZ)), link);
  }
}

// A file of the program's own, made in the link's folder under a name nothing else has, and
// deleted again unless it was moved into place.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& link) {
    const std::string folder = link.substr(0, link.find_last_of('\\') + 1);
    for (unsigned n = 0;; ++n) {
      path_ = folder + "~quenbrook-" + std::to_string(GetCurrentProcessId()) + "-" +
              std::to_string(n) + ".tmp";
      const HANDLE file = CreateFileW(windows::apiPath(path_).c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
      if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return;
      }
      const DWORD error = GetLastError();
      if ((error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) || n == 100) {
        throw windows::systemError(link, error);
      }
    }
  }
  ~TemporaryFile() {
    if (!kept_) windows::removeFile(path_);
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  const std::string& path() const { return path_; }
  void kept() { kept_ = true; }

 private:
  std::string path_;
  bool kept_ = false;
};

}  // namespace

std::string fileName(const std::string& name) {
  return name + ".lnk";
}

// The rules hold for the file as it is made: "a." is the file "a..lnk", which Windows takes.
std::string nameProblem(const std::string& name) {
  const std::string problem = windows::nameProblem(fileName(name));
  return problem.empty() ? problem
                         : "The shortcut is the file \"" + fileName(name) + "\". " + problem;
}

void makeLink(const std::string& link, const std::string& destination,
              const std::string& arguments) {
  const ComThread com(link);
  Com<IShellLinkW> shellLink;
  check(com.functions().create(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                               shellLink.out()),
        link);
  check(shellLink->SetPath(windows::wide(destination).c_str()), link);
  leadAsNamed(*shellLink, com.functions(), destination, link);
  check(shellLink->SetArguments(windows::wide(arguments).c_str()), link);
  Com<IPersistFile> persist;
  check(shellLink->QueryInterface(IID_IPersistFile, persist.out()), link);
  // Saving replaces whatever has the name without a word, so the link is saved under a name of
  // its own and then moved to its name by a move that never replaces.
  TemporaryFile saved(link);
  check(persist->Save(shellPath(saved.path()).c_str(), TRUE), link);
  if (const DWORD error = windows::moveNew(saved.path(), link)) {
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) {
      throw PlatformError(link,
                          "Something of that name appeared while the shortcut was being made. "
                          "It was left as it is, and no shortcut was made.");
    }
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) {
      throw PlatformError(link,
                          "Another program, such as an antivirus or a sync client, held the new "
                          "shortcut, so no shortcut was made. Try again in a moment.");
    }
    throw windows::systemError(link, error);
  }
  saved.kept();
}

std::string target(const std::string& link) {
  const ComThread com(link);
  Com<IShellLinkW> shellLink;
  Com<IPersistFile> persist;
  std::wstring path(32768, L'\0');
  if (FAILED(com.functions().create(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                    shellLink.out())) ||
      FAILED(shellLink->QueryInterface(IID_IPersistFile, persist.out())) ||
      FAILED(persist->Load(shellPath(link).c_str(), STGM_READ)) ||
      FAILED(
          shellLink->GetPath(path.data(), static_cast<int>(path.size()), nullptr, SLGP_RAWPATH))) {
    return {};
  }
  path.resize(path.find(L'\0'));
  // A path kept to expand is opened expanded, so it is read so.
  Com<IShellLinkDataList> data;
  DWORD flags = 0;
  if (SUCCEEDED(shellLink->QueryInterface(IID_IShellLinkDataList, data.out())) &&
      SUCCEEDED(data->GetFlags(&flags)) && (flags & SLDF_HAS_EXP_SZ)) {
    std::wstring expanded(32768, L'\0');
    const DWORD length = ExpandEnvironmentStringsW(path.c_str(), expanded.data(),
                                                   static_cast<DWORD>(expanded.size()));
    if (length == 0 || length > expanded.size()) return {};
    expanded.resize(length - 1);
    return windows::utf8(expanded);
  }
  return windows::utf8(path);
}

void removeLink(const std::string& link) {
  DeleteFileW(windows::apiPath(link).c_str());
}

}  // namespace qb::shell

// On Windows a shortcut is a .lnk file, written by the shell's own link object so that Explorer,
// the file dialogs and the Start menu all follow it.

#include <windows.h>

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <shobjidl.h>

#include <utility>

#include "platform/catalogue.h"
#include "platform/faults.h"
#include "platform/files.h"
#include "platform/windows/com.h"
#include "platform/windows/files.h"
#include "platform/windows/library.h"
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
  ~Com() { reset(); }
  Com(const Com&) = delete;
  Com& operator=(const Com&) = delete;

  T* operator->() const { return p_; }
  void reset() {
    if (p_) std::exchange(p_, nullptr)->Release();
  }
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
    if (!com_) throw PlatformError(link, tr("The shell's link object could not be loaded."));
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
  if (FAILED(result)) throw windows::systemError(link, static_cast<unsigned long>(result), true);
}

// The path as the shell's link object takes it: the short form when it fits, as the shell
// expects; the \\?\ form beyond MAX_PATH.
std::wstring shellPath(const std::string& path) {
  const std::wstring wide = windows::wide(path);
  return wide.size() < MAX_PATH ? wide : windows::apiPath(path);
}

// The shell keeps a path that holds '%' as text to expand whenever the shortcut is opened, so
// "%USERNAME% notes" would lead to the folder of whoever opens it, or to none. The link leads to
// the folder itself, named by its ID list, and keeps nothing to expand: neither the flag that
// says so nor the block that holds the text, which a reader may follow without the flag.
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
    check(data->RemoveDataBlock(EXP_SZ_LINK_SIG), link);
    check(data->SetFlags(flags & ~static_cast<DWORD>(SLDF_HAS_EXP_SZ)), link);
  }
}

// The reason the file at link could not be removed, or empty text once it is gone.
std::string removed(const std::string& link) {
  const unsigned long error = windows::removeFile(link);
  return error == 0 || error == ERROR_FILE_NOT_FOUND
             ? std::string()
             : windows::systemError(link, error, true).reason();
}

}  // namespace

std::string fileName(const std::string& name) {
  return name + ".lnk";
}

// The rules hold for the file as it is made: "a." is the file "a..lnk", which Windows takes.
std::string nameProblem(const std::string& name) {
  const std::string problem = windows::nameProblem(fileName(name));
  return problem.empty() ? problem
                         : tr("The shortcut is the file \"{1}\". {2}", {fileName(name), problem});
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
  Com<IPersistStream> persist;
  check(shellLink->QueryInterface(IID_IPersistStream, persist.out()), link);
  // The file is made new, as Windows makes a file that must replace nothing: a name that
  // something took since MkLink looked is refused, and the shortcut is written into the file
  // made, so there is nothing to rename and nothing left over.
  static const auto open = windows::systemFunction<decltype(&SHCreateStreamOnFileEx)>(
      L"shlwapi.dll", "SHCreateStreamOnFileEx");
  if (!open) throw PlatformError(link, tr("The shell's file functions could not be loaded."));
  Com<IStream> file;
  const HRESULT made =
      faults::failed(faults::Call::Link, link)
          ? HRESULT_FROM_WIN32(GetLastError())
          : open(windows::apiPath(link).c_str(),
                 STGM_WRITE | STGM_SHARE_EXCLUSIVE | STGM_FAILIFTHERE, FILE_ATTRIBUTE_NORMAL, TRUE,
                 nullptr, reinterpret_cast<IStream**>(file.out()));
  if (made == HRESULT_FROM_WIN32(ERROR_FILE_EXISTS) ||
      made == HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS)) {
    throw PlatformError(link,
                        tr("Something of that name appeared while the shortcut was being made. "
                           "It was left as it is, and no shortcut was made."));
  }
  check(made, link);
  const HRESULT saved = persist->Save(&*file, TRUE);
  file.reset();
  if (FAILED(saved)) {
    const std::string reason =
        windows::systemError(link, static_cast<unsigned long>(saved), true).reason();
    const std::string kept = removed(link);
    if (kept.empty()) throw PlatformError(link, tr("{1} No shortcut was made.", {reason}));
    throw PlatformError(link, tr("{1} The file begun for the shortcut is still there, as it "
                                 "could not be taken away: {2} Delete it yourself.",
                                 {reason, kept}));
  }
}

std::string targetProblem(const std::string& destination) {
  const std::size_t length = windows::wide(destination).size();
  if (length < MAX_PATH) return {};
  return tr(
      "A Windows shortcut can lead only to a folder whose path is shorter than {1} "
      "letters, and this one has {2}. Choose a project folder nearer the root.",
      {std::to_string(MAX_PATH), std::to_string(length)});
}

std::string target(const std::string& link) {
  // Another machine may read the shortcut as leading to the folder it is in.
  if (faults::failed(faults::Call::ReadLink, link)) return link.substr(0, link.rfind('\\') + 1);
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

std::string removeLink(const std::string& link) {
  return removed(link);
}

}  // namespace qb::shell

// On Windows a shortcut is a .lnk file, written by the shell's own link object so that Explorer,
// the file dialogs and the Start menu all follow it.

#include <windows.h>

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "platform/files.h"
#include "platform/files_win.h"
#include "shortcut/ShellLink.h"

namespace qb {

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
  void** out() { return reinterpret_cast<void**>(&p_); }

 private:
  T* p_ = nullptr;
};

// COM for this thread while the shortcut is made. A thread that already chose the other
// threading model keeps it: the link object works in either.
class ComThread {
 public:
  explicit ComThread(const std::string& link) : com_(files::win::com()) {
    if (!com_) throw PlatformError(link, "The shell's link object could not be loaded.");
    const HRESULT result =
        com_->initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    if (result == RPC_E_CHANGED_MODE) return;
    if (FAILED(result)) throw files::win::systemError(link, static_cast<unsigned long>(result));
    joined_ = true;  // S_OK or S_FALSE: each asks for one CoUninitialize
  }
  ~ComThread() {
    if (joined_) com_->uninitialize();
  }
  ComThread(const ComThread&) = delete;
  ComThread& operator=(const ComThread&) = delete;

  const files::win::Com& functions() const { return *com_; }

 private:
  const files::win::Com* com_;
  bool joined_ = false;
};

void check(HRESULT result, const std::string& link) {
  if (FAILED(result)) throw files::win::systemError(link, static_cast<unsigned long>(result));
}

std::string joined(const std::string& folder, const std::string& name) {
  return !folder.empty() && (folder.back() == '\\' || folder.back() == '/') ? folder + name
                                                                            : folder + "\\" + name;
}

}  // namespace

void createShellLink(const std::string& folder, const std::string& name, const std::string& target,
                     const std::string& arguments, std::int32_t /*showCommand*/,
                     const std::string& /*reserved*/) {
  const std::string file = name + ".lnk";
  std::string link = joined(folder, file);
  if (!files::isAbsolute(folder)) {
    throw PlatformError(link,
                        "The shortcut's folder must be a full path, one that starts from "
                        "the root.");
  }
  if (name.empty()) throw PlatformError(link, "A shortcut needs a name.");
  const std::string problem = files::win::nameProblem(name);
  if (!problem.empty()) throw PlatformError(link, problem);
  if (files::entryAt(target) != files::Entry::Folder) {
    throw PlatformError(target,
                        "The project folder is not there any more, so no shortcut to it "
                        "was made.");
  }
  const std::string destination = files::folderPath(target);
  // The folder as it is on disk, letter case included; this throws when it is not a folder.
  link = joined(files::folderPath(folder), file);
  // Saving would replace whatever has that name, in any letter case, without a word.
  const std::string existing = files::lookup(link);
  if (!existing.empty()) {
    throw PlatformError(link, "Something called \"" + existing +
                                  "\" is there already. It was left as it is, and no shortcut "
                                  "was made.");
  }
  {
    const ComThread com(link);
    Com<IShellLinkW> shellLink;
    check(com.functions().create(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                 shellLink.out()),
          link);
    check(shellLink->SetPath(files::win::widen(destination).c_str()), link);
    check(shellLink->SetArguments(files::win::widen(arguments).c_str()), link);
    Com<IPersistFile> persist;
    check(shellLink->QueryInterface(IID_IPersistFile, persist.out()), link);
    // The short form when it fits, as the shell expects; the \\?\ form beyond MAX_PATH.
    const std::wstring wideLink = files::win::widen(link);
    check(persist->Save((wideLink.size() < MAX_PATH ? wideLink : files::win::apiPath(link)).c_str(),
                        TRUE),
          link);
  }
  if (files::lookup(link).empty()) {
    throw PlatformError(link, "The shortcut could not be found after it was made.");
  }
}

}  // namespace qb

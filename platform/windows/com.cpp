#include "platform/windows/com.h"

#include <windows.h>

namespace qb::windows {

const Com* com() {
  static const Com loaded = [] {
    Com functions;
    if (const HMODULE ole = LoadLibraryW(L"ole32.dll")) {
      const auto find = [ole](const char* name) {
        return reinterpret_cast<void*>(GetProcAddress(ole, name));
      };
      functions.initialize =
          reinterpret_cast<decltype(functions.initialize)>(find("CoInitializeEx"));
      functions.uninitialize =
          reinterpret_cast<decltype(functions.uninitialize)>(find("CoUninitialize"));
      functions.create = reinterpret_cast<decltype(functions.create)>(find("CoCreateInstance"));
      functions.free = reinterpret_cast<decltype(functions.free)>(find("CoTaskMemFree"));
    }
    if (const HMODULE shell = LoadLibraryW(L"shell32.dll")) {
      functions.idList = reinterpret_cast<decltype(functions.idList)>(
          reinterpret_cast<void*>(GetProcAddress(shell, "ILCreateFromPathW")));
      functions.freeIdList = reinterpret_cast<decltype(functions.freeIdList)>(
          reinterpret_cast<void*>(GetProcAddress(shell, "ILFree")));
    }
    return functions;
  }();
  return loaded.initialize && loaded.uninitialize && loaded.create && loaded.free ? &loaded
                                                                                  : nullptr;
}

}  // namespace qb::windows

#include "platform/windows/com.h"

#include "platform/windows/library.h"

namespace qb::windows {

const Com* com() {
  static const Com loaded = [] {
    Com functions;
    functions.initialize =
        systemFunction<decltype(functions.initialize)>(L"ole32.dll", "CoInitializeEx");
    functions.uninitialize =
        systemFunction<decltype(functions.uninitialize)>(L"ole32.dll", "CoUninitialize");
    functions.create = systemFunction<decltype(functions.create)>(L"ole32.dll", "CoCreateInstance");
    functions.free = systemFunction<decltype(functions.free)>(L"ole32.dll", "CoTaskMemFree");
    functions.idList =
        systemFunction<decltype(functions.idList)>(L"shell32.dll", "ILCreateFromPathW");
    functions.freeIdList = systemFunction<decltype(functions.freeIdList)>(L"shell32.dll", "ILFree");
    return functions;
  }();
  return loaded.initialize && loaded.uninitialize && loaded.create && loaded.free ? &loaded
                                                                                  : nullptr;
}

}  // namespace qb::windows

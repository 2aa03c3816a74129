// A DLL planted beside the program under the name of one Windows loads for it on demand, as a
// download could be: it leaves a mark beside itself when it is loaded.

#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID /*reserved*/) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  wchar_t mark[MAX_PATH + 8] = L"";
  const DWORD length = GetModuleFileNameW(self, mark, MAX_PATH);
  lstrcpyW(mark + length, L".ran");
  CloseHandle(CreateFileW(mark, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  return TRUE;
}

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "tests/support/ScriptedUser.h"

// The Win32 stories run on real windows, under Windows or wine, with the real nested loops.
int main(int argc, char** argv) {
  // Failures name paths in any script.
  SetConsoleOutputCP(CP_UTF8);
  // In English, whatever the machine's language, unless a story says otherwise.
  SetThreadPreferredUILanguages(MUI_LANGUAGE_NAME, L"en-US\0", nullptr);
  // What a test printed is kept if it is stopped: a pipe would otherwise hold it back.
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  ::testing::InitGoogleTest(&argc, argv);
  // A story takes a few seconds under wine; one that hangs is stopped and told.
  qb::test::limitEachTest(std::chrono::seconds(90));
  return RUN_ALL_TESTS();
}

#include <windows.h>

#include <gtest/gtest.h>

// The Win32 stories run on real windows, under Windows or wine, with the real nested loops.
int main(int argc, char** argv) {
  // Failures name paths in any script.
  SetConsoleOutputCP(CP_UTF8);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

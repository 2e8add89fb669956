#include <gtest/gtest.h>
#include <windows.h>

int main(int argc, char** argv) {
  // Pixels as they are on the screen, whatever the DPI: the tests measure the program in them.
  SetProcessDPIAware();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

// Shared main of every test program: unbuffered output, so nothing is lost when
// Wine ends the process.
#include <cstdio>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  setvbuf(stderr, nullptr, _IONBF, 0);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

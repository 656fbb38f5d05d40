// The window tests' main: ends the process without running static
// destructors, because request threads of the windows are never waited
// for (as in the phone) and may still be inside the toolkit at the end.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  std::fflush(nullptr);
  _exit(result);
}

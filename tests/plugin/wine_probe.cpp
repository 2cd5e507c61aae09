// A console program that only says how wide its pointers are. The test
// scripts run it under Wine to learn whether this machine runs Windows
// programs of that width: some kernels cannot run 32-bit programs at all.
#include <cstdio>

int main() {
  std::printf("rz-wine-probe %u\n", static_cast<unsigned>(sizeof(void*) * 8));
  return 0;
}

// Compressed MusicXML (.mxl) archives through the same path as plain scores.
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/score_file_fuzzer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::RunScoreFile(data, size, ".mxl");
  return 0;
}

// MusicXML bytes through import, scan, apply and export.
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/score_file_fuzzer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::RunScoreFile(data, size, ".musicxml");
  return 0;
}

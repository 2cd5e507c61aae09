// One fuzz input as a score file given to rzacc: scan it, apply every
// finding into a second file, and make sure that what was written scans
// again. Shared by the plain MusicXML and the compressed (.mxl) targets.
#pragma once

#include <cstddef>
#include <cstdint>

namespace fuzz {

// extension: ".musicxml" or ".mxl", for the input and the written score.
void RunScoreFile(const uint8_t* data, size_t size, const char* extension);

}  // namespace fuzz

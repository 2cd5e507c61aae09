// One scan of a region, as the main window's Scan runs it: the analyzer over
// the region with the given settings, in one host edit named "Accidentals",
// its findings added to the rows.
#pragma once

#include <cstdint>

struct AnalysisSettings;
class TCDataListRows;
class TCMusicRegion;

// Answers whether the analyzer ran and succeeded.
bool ScanRegion(const AnalysisSettings& settings, uint32_t layerMask, const TCMusicRegion* region,
                TCDataListRows* rows);

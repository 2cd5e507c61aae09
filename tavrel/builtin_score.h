// The score the stand-in host opens when it is given none.
#pragma once

namespace tavrel {

// A short MusicXML score for flute and piano with something to report.
const char* BuiltinScoreText();

}  // namespace tavrel

#include "tests/cli/generated_musicxml.h"

#include <algorithm>

namespace {

// A small linear congruential generator: the same score for the same seed everywhere.
class Dice {
 public:
  explicit Dice(uint32_t seed) : state_(seed * 2654435761u + 1) {}
  int Roll(int sides) {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<int>((state_ >> 8) % static_cast<uint32_t>(sides));
  }

 private:
  uint32_t state_;
};

struct Pitch {
  char step = 'C';
  int alter = 0;
  int octave = 4;
};

const char* AccidentalName(int alter) {
  switch (alter) {
    case -1:
      return "flat";
    case 1:
      return "sharp";
    default:
      return "natural";
  }
}

int KeyOfMeasure(int measure, int measuresPerKey) {
  static const int kKeys[] = {0, 2, -3, 4, -1};
  return kKeys[(measure / std::max(1, measuresPerKey)) % 5];
}

class ScoreWriter {
 public:
  ScoreWriter(const MusicXmlScoreShape& shape, std::string* text) : shape_(shape), text_(*text), dice_(shape.seed) {}

  int64_t Write() {
    text_ +=
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
        "<!DOCTYPE score-partwise PUBLIC \"-//Recordare//DTD MusicXML 4.0 Partwise//EN\" "
        "\"http://www.musicxml.org/dtds/partwise.dtd\">\n"
        "<score-partwise version=\"4.0\">\n  <part-list>\n";
    for (int part = 1; part <= shape_.parts; ++part) {
      text_ += "    <score-part id=\"P" + std::to_string(part) + "\">\n      <part-name>Part " + std::to_string(part) +
               "</part-name>\n    </score-part>\n";
    }
    text_ += "  </part-list>\n";
    for (int part = 1; part <= shape_.parts; ++part) WritePart(part);
    text_ += "</score-partwise>\n";
    return notes_;
  }

 private:
  int StavesOf(int part) const { return shape_.grandStaves && part % 2 == 0 ? 2 : 1; }

  void WritePart(int part) {
    text_ += "  <part id=\"P" + std::to_string(part) + "\">\n";
    for (int measure = 1; measure <= shape_.measures; ++measure) {
      text_ += "    <measure number=\"" + std::to_string(measure) + "\" width=\"312.5\">\n";
      WriteAttributes(part, measure);
      WriteVoice(1, 1, 0);
      Backup();
      WriteVoice(1, 2, -1);
      if (StavesOf(part) == 2) {
        Backup();
        WriteVoice(2, 5, -2);
      }
      text_ += "    </measure>\n";
    }
    text_ += "  </part>\n";
  }

  void WriteAttributes(int part, int measure) {
    bool first = measure == 1;
    if (!first && KeyOfMeasure(measure, shape_.measuresPerKey) == KeyOfMeasure(measure - 1, shape_.measuresPerKey))
      return;
    text_ += "      <attributes>\n";
    if (first) text_ += "        <divisions>" + std::to_string(kDivisions) + "</divisions>\n";
    text_ += "        <key>\n          <fifths>" + std::to_string(KeyOfMeasure(measure, shape_.measuresPerKey)) +
             "</fifths>\n        </key>\n";
    if (first) {
      text_ += "        <time>\n          <beats>4</beats>\n          <beat-type>4</beat-type>\n        </time>\n";
      if (StavesOf(part) == 2) text_ += "        <staves>2</staves>\n";
      text_ += "        <clef number=\"1\">\n          <sign>G</sign>\n          <line>2</line>\n        </clef>\n";
      if (StavesOf(part) == 2) {
        text_ += "        <clef number=\"2\">\n          <sign>F</sign>\n          <line>4</line>\n        </clef>\n";
      }
    }
    text_ += "      </attributes>\n";
  }

  void Backup() {
    text_ += "      <backup>\n        <duration>" + std::to_string(kDivisions * 4) + "</duration>\n      </backup>\n";
  }

  Pitch RandomPitch(int octaveShift) {
    Pitch pitch;
    pitch.step = "CDEFGAB"[dice_.Roll(7)];
    int roll = dice_.Roll(10);
    pitch.alter = roll == 0 ? -1 : roll == 1 ? 1 : 0;
    pitch.octave = 4 + octaveShift + dice_.Roll(2);
    return pitch;
  }

  // A measure of one voice: eighths, some of them chords, tied pairs or with a grace note before.
  void WriteVoice(int staff, int voice, int octaveShift) {
    // The total must fill the 4/4 measure: notesPerMeasure notes share kDivisions * 4.
    int length = kDivisions * 4 / shape_.notesPerMeasure;
    int lastLength = kDivisions * 4 - length * (shape_.notesPerMeasure - 1);
    Pitch tiedFrom;
    bool tieOpen = false;
    for (int i = 0; i < shape_.notesPerMeasure; ++i) {
      int duration = i + 1 == shape_.notesPerMeasure ? lastLength : length;
      if (dice_.Roll(20) == 0) WriteNote(RandomPitch(octaveShift), staff, voice, 0, "grace");
      Pitch pitch = tieOpen ? tiedFrom : RandomPitch(octaveShift);
      bool tieStart = !tieOpen && i + 1 < shape_.notesPerMeasure && dice_.Roll(12) == 0;
      WriteNote(pitch, staff, voice, duration, tieOpen ? "stop" : tieStart ? "start" : "");
      tieOpen = tieStart;
      tiedFrom = pitch;
      if (dice_.Roll(5) == 0) WriteNote(RandomPitch(octaveShift), staff, voice, duration, "chord");
    }
  }

  // mark: "grace", "chord", "start" or "stop" (a tie), or "".
  void WriteNote(const Pitch& pitch, int staff, int voice, int duration, const std::string& mark) {
    ++notes_;
    text_ += "      <note default-x=\"" + std::to_string(20 + dice_.Roll(280)) + ".5\" default-y=\"-" +
             std::to_string(dice_.Roll(40)) + "\">\n";
    if (mark == "grace") text_ += "        <grace slash=\"yes\"/>\n";
    if (mark == "chord") text_ += "        <chord/>\n";
    text_ += "        <pitch>\n          <step>";
    text_ += pitch.step;
    text_ += "</step>\n";
    if (pitch.alter != 0) text_ += "          <alter>" + std::to_string(pitch.alter) + "</alter>\n";
    text_ += "          <octave>" + std::to_string(pitch.octave) + "</octave>\n        </pitch>\n";
    if (mark != "grace") text_ += "        <duration>" + std::to_string(duration) + "</duration>\n";
    if (mark == "start" || mark == "stop") text_ += "        <tie type=\"" + mark + "\"/>\n";
    text_ += "        <voice>" + std::to_string(voice) + "</voice>\n        <type>eighth</type>\n";
    if (dice_.Roll(3) == 0)
      text_ += std::string("        <accidental>") + AccidentalName(pitch.alter) + "</accidental>\n";
    text_ += std::string("        <stem>") + (voice % 2 == 1 ? "up" : "down") + "</stem>\n";
    text_ += "        <staff>" + std::to_string(staff) + "</staff>\n";
    if (mark == "start" || mark == "stop") {
      text_ += "        <notations>\n          <tied type=\"" + mark + "\"/>\n        </notations>\n";
    }
    text_ += "      </note>\n";
  }

  static constexpr int kDivisions = 8;

  const MusicXmlScoreShape& shape_;
  std::string& text_;
  Dice dice_;
  int64_t notes_ = 0;
};

}  // namespace

std::string MusicXmlScoreText(const MusicXmlScoreShape& shape, int64_t* notes) {
  std::string text;
  int64_t count = ScoreWriter(shape, &text).Write();
  if (notes) *notes = count;
  return text;
}

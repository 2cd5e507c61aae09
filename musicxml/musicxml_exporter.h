// Carries what an apply step changed in the host back into the MusicXML
// document: every note that now shows its accidental (or shows it in
// parentheses, or was marked by the apply step) where the import left it
// without gets a cautionary <accidental> for its alteration. Nothing else in
// the document is touched.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace headless {
class ScoreBuilder;
}

namespace musicxml {

class ImportedScore;
class MusicXmlDocument;

// How the added accidentals look.
struct AccidentalStyle {
  bool brackets = false;  // bracket="yes" where the finding asks for parentheses
  std::string color;      // "#RRGGBB"; empty for the notation program's own
  // Each <accidental> that is added gets a unique id "rzacc-N", by which
  // RemoveMarkedAccidentals finds it again.
  bool markAdded = false;
};

class MusicXmlExporter {
 public:
  static constexpr const char* kIdPrefix = "rzacc-";

  // A host note: its entry number and its index among the entry's notes.
  using NoteAddress = std::pair<uint32_t, int>;

  // The builder works on the host document that imported holds. Answers how
  // many <note> elements were written; notes that cannot be written are
  // named in warnings and, when unwritten is given, added to it. A note of
  // a transposing staff gets the accidental of its written pitch, which is
  // what the player reads.
  static int WriteChangedAccidentals(headless::ScoreBuilder* builder, const ImportedScore& imported,
                                     MusicXmlDocument* document, std::vector<std::string>* warnings,
                                     const AccidentalStyle& style = AccidentalStyle(),
                                     std::set<NoteAddress>* unwritten = nullptr);

  // Takes every <accidental> whose id starts with kIdPrefix out of the
  // document. Answers how many, or -1 when one could not be taken out.
  static int RemoveMarkedAccidentals(MusicXmlDocument* document);

  // Whether text is a colour "#RRGGBB" or "#AARRGGBB".
  static bool IsColor(const std::string& text);

  // The alteration in semitones of a host note (its displacement from the
  // key's tonic and its raise/lower against the key) under a host key value.
  static int AlterationOf(int16_t displacement, int16_t raiseLower, uint16_t keyValue);
};

}  // namespace musicxml

// Carries what an apply step changed in the host back into the MusicXML
// document: every note that now shows its accidental (or shows it in
// parentheses, or was marked by the apply step) where the import left it
// without gets a cautionary <accidental> for its alteration. Nothing else in
// the document is touched.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace headless {
class ScoreBuilder;
}

namespace musicxml {

class ImportedScore;
class MusicXmlDocument;

class MusicXmlExporter {
 public:
  // The builder works on the host document that imported holds. Answers how
  // many <note> elements were written; notes that cannot be written are
  // named in warnings.
  static int WriteChangedAccidentals(headless::ScoreBuilder* builder, const ImportedScore& imported,
                                     MusicXmlDocument* document, std::vector<std::string>* warnings);

  // The alteration in semitones of a host note (its displacement from the
  // key's tonic and its raise/lower against the key) under a host key value.
  static int AlterationOf(int16_t displacement, int16_t raiseLower, uint16_t keyValue);
};

}  // namespace musicxml

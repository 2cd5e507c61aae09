// A MusicXML score file held as an XML document: plain (.musicxml, .xml) or
// compressed (.mxl), in UTF-8, UTF-16 or an 8-bit encoding. The document owns
// every element, so the importer can remember the <note> elements and the
// exporter change them in place; saving writes everything else back as it
// was read, in the encoding it was read in.
#pragma once

#include <tinyxml2.h>

#include <string>
#include <unordered_set>
#include <vector>

#include "musicxml/text_encoding.h"
#include "musicxml/xml_source_map.h"

namespace musicxml {

class MusicXmlDocument {
 public:
  MusicXmlDocument() = default;
  MusicXmlDocument(const MusicXmlDocument&) = delete;
  MusicXmlDocument& operator=(const MusicXmlDocument&) = delete;

  // Reads a score-partwise file. False with one message that names the file
  // and, for XML errors, the line.
  bool Load(const std::string& path, std::string* error);
  // The same for the bytes of a plain or compressed file in memory; name
  // stands for the file in messages.
  bool LoadBytes(std::string bytes, const std::string& name, std::string* error);
  // The same for text in memory; displayName stands for the file in messages.
  bool Parse(const std::string& text, const std::string& displayName, std::string* error);

  // Writes the document. A compressed score is written as a copy of its
  // archive when path ends in ".mxl", as plain XML otherwise; a plain score
  // cannot be written as ".mxl". Only when its text reads again as a score
  // whose elements stand where its text has them is anything written, and
  // then as ScoreFile::Write does: a file appears whole or not at all, a
  // pipe or device is written to, what is not a file is never replaced.
  bool Save(const std::string& path, std::string* error) const;
  // What Save would write to a file called name (whose ending chooses
  // archive or plain XML, and which stands for it in messages), as bytes.
  bool SaveToBytes(const std::string& name, std::string* bytes, std::string* error) const;
  // Saves as Save does for a caller that is done with the document: the
  // tree and the text that was read are let go of before the written text
  // is read again, so that the two trees are never held at once. The
  // document is empty afterwards, whether the file was written or not,
  // unless the text to write could not be made.
  bool SaveAndRelease(const std::string& path, std::string* error);
  // SaveAndRelease into bytes, as SaveToBytes is to Save.
  bool SaveAndReleaseToBytes(const std::string& name, std::string* bytes, std::string* error);

  // An element that was added or changed since the document was read; it is
  // written anew, everything else as the file had it.
  void MarkChanged(tinyxml2::XMLElement* element);
  // Takes an element of the file out of the saved text, with the white space
  // that was written with it: the line break and indent before the next
  // element, or else those after the previous one. False when the element
  // cannot be found in the text or was changed.
  bool MarkRemoved(tinyxml2::XMLElement* element);
  // What Save writes: the text that was read with the changed elements put
  // in. False when the text cannot be matched to the document or a change
  // cannot be placed in it; the document is never printed whole instead.
  bool SavedText(std::string* text) const;
  // The document as the XML printer writes it.
  std::string ToText() const;

  tinyxml2::XMLDocument& Xml() { return xml_; }
  const tinyxml2::XMLDocument& Xml() const { return xml_; }
  tinyxml2::XMLElement* Score() { return xml_.RootElement(); }
  const tinyxml2::XMLElement* Score() const { return xml_.RootElement(); }

  bool IsCompressed() const { return compressed_; }
  const TextEncoding& Encoding() const { return encoding_; }
  const std::string& Path() const { return path_; }
  // The score's path inside a compressed file.
  const std::string& RootFilePath() const { return rootFilePath_; }

  // Whether a path ends in ".mxl", in any case.
  static bool HasArchiveExtension(const std::string& path);

 private:
  bool DecodeAndParse(std::string bytes, const std::string& displayName, std::string* error);
  bool ParseScore(std::string text, const std::string& displayName, std::string* error);
  // Parses text into xml and checks that it holds a score-partwise.
  static bool ParseXml(const std::string& text, const std::string& displayName, tinyxml2::XMLDocument* xml,
                       std::string* error);
  // What Save writes to path; false with the message Save gives.
  bool TextToSave(const std::string& path, std::string* text, std::string* error) const;
  // False with a message when the score cannot be written to path at all.
  bool CanSaveAs(const std::string& path, std::string* error) const;
  std::string UnmatchedTextMessage() const;
  // The file in messages: for a compressed score, the archive and the
  // member that holds the score.
  std::string ScoreName() const;
  // The bytes of text as a file called name holds them: in the score's
  // encoding and, for an ".mxl" name, inside a copy of its archive.
  bool OutputBytes(std::string text, const std::string& name, std::string* bytes, std::string* error) const;
  // Lets go of the tree, its map and the changes; the document saves nothing
  // after, though the text read stays until its owner lets go of it.
  void ReleaseTree();
  // Whether text, about to be written to path, reads again (into scratch)
  // as a score that maps element for element.
  static bool ReadsAgain(const std::string& text, const std::string& path, tinyxml2::XMLDocument* scratch,
                         std::string* error);
  // The map is only needed to write or take out elements, so it is made
  // the first time it is asked for; false when the text cannot be mapped.
  bool EnsureMapped() const;
  struct Edit {
    size_t position;
    size_t removed;
    std::string text;
  };
  bool MakeEdit(tinyxml2::XMLElement* element, Edit* edit) const;
  // Every change and removal as an edit of the text read, in text order;
  // false when an element cannot be placed in the text.
  bool MakeEdits(std::vector<Edit>* edits) const;
  // Applies edits to the text read, appending to text when it is given;
  // size receives the length of the result. False when two edits overlap.
  bool Splice(const std::vector<Edit>& edits, std::string* text, size_t* size) const;

  tinyxml2::XMLDocument xml_;
  std::string path_;
  bool compressed_ = false;
  std::string rootFilePath_;
  // The bytes of a compressed file as read, until the score is released.
  std::string archive_;
  std::string source_;
  mutable XmlSourceMap sourceMap_;
  mutable bool mapTried_ = false;
  mutable bool mapped_ = false;
  // In the order they were first marked, which orders edits at one place.
  std::vector<tinyxml2::XMLElement*> changed_;
  std::unordered_set<const tinyxml2::XMLElement*> changedSet_;
  std::vector<Edit> removals_;
  TextEncoding encoding_;
};

}  // namespace musicxml

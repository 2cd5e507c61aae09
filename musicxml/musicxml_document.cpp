#include "musicxml/musicxml_document.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <utility>

#include "musicxml/mxl_archive.h"
#include "musicxml/score_file.h"
#include "musicxml/start_tag_text.h"

namespace musicxml {

namespace {

// "XML_ERROR_MISMATCHED_ELEMENT" reads "mismatched element".
std::string DescribeXmlError(const tinyxml2::XMLDocument& document) {
  std::string name = document.ErrorName() ? document.ErrorName() : "error";
  const char* prefixes[] = {"XML_ERROR_", "XML_"};
  for (const char* prefix : prefixes) {
    if (name.compare(0, std::strlen(prefix), prefix) == 0) {
      name.erase(0, std::strlen(prefix));
      break;
    }
  }
  for (char& character : name) {
    character = character == '_' ? ' ' : static_cast<char>(std::tolower(static_cast<unsigned char>(character)));
  }
  return name;
}

bool IsWhiteSpace(const std::string& text, size_t from, size_t to) {
  for (size_t index = from; index < to; ++index) {
    if (!std::isspace(static_cast<unsigned char>(text[index]))) return false;
  }
  return true;
}

bool EndsWithIgnoringCase(const std::string& text, const char* suffix) {
  size_t length = std::strlen(suffix);
  if (text.size() < length) return false;
  for (size_t index = 0; index < length; ++index) {
    unsigned char left = static_cast<unsigned char>(text[text.size() - length + index]);
    if (std::tolower(left) != std::tolower(static_cast<unsigned char>(suffix[index]))) return false;
  }
  return true;
}

}  // namespace

bool MusicXmlDocument::HasArchiveExtension(const std::string& path) { return EndsWithIgnoringCase(path, ".mxl"); }

bool MusicXmlDocument::Load(const std::string& path, std::string* error) {
  std::string bytes;
  if (!ScoreFile::Read(path, &bytes, error)) {
    path_ = path;
    compressed_ = false;
    rootFilePath_.clear();
    std::string().swap(archive_);
    return false;
  }
  return LoadBytes(std::move(bytes), path, error);
}

bool MusicXmlDocument::LoadBytes(std::string bytes, const std::string& name, std::string* error) {
  path_ = name;
  compressed_ = false;
  rootFilePath_.clear();
  std::string().swap(archive_);
  if (!MxlArchive::LooksLikeArchive(bytes)) return DecodeAndParse(std::move(bytes), name, error);
  std::string content;
  std::string archiveError;
  if (!MxlArchive::ReadRootFile(bytes, &rootFilePath_, &content, &archiveError)) {
    *error = name + ": " + archiveError;
    return false;
  }
  compressed_ = true;
  // The archive is copied with the score replaced when it is written back.
  archive_ = std::move(bytes);
  return DecodeAndParse(std::move(content), ScoreName(), error);
}

bool MusicXmlDocument::Parse(const std::string& text, const std::string& displayName, std::string* error) {
  path_ = displayName;
  compressed_ = false;
  rootFilePath_.clear();
  std::string().swap(archive_);
  return DecodeAndParse(text, displayName, error);
}

bool MusicXmlDocument::DecodeAndParse(std::string bytes, const std::string& displayName, std::string* error) {
  std::string text;
  std::string encodingError;
  if (!encoding_.Decode(std::move(bytes), &text, &encodingError)) {
    *error = displayName + ": " + encodingError;
    return false;
  }
  if (ParseScore(std::move(text), displayName, error)) return true;
  bool plain = encoding_.GetForm() == TextEncoding::Form::Utf8 && !encoding_.HasByteOrderMark();
  if (!plain) *error += " (the file was read as " + encoding_.Name() + ")";
  return false;
}

bool MusicXmlDocument::ParseScore(std::string text, const std::string& displayName, std::string* error) {
  changed_.clear();
  changedSet_.clear();
  removals_.clear();
  source_.clear();
  sourceMap_.Clear();
  // A document that did not read as a score has no text to map.
  mapTried_ = true;
  mapped_ = false;
  if (!ParseXml(text, displayName, &xml_, error)) return false;
  source_ = std::move(text);
  mapTried_ = false;
  return true;
}

bool MusicXmlDocument::ParseXml(const std::string& text, const std::string& displayName, tinyxml2::XMLDocument* xml,
                                std::string* error) {
  xml->Clear();
  if (xml->Parse(text.data(), text.size()) != tinyxml2::XML_SUCCESS) {
    if (xml->ErrorID() == tinyxml2::XML_ERROR_EMPTY_DOCUMENT) {
      *error = displayName + (text.empty() ? ": the file is empty" : ": the file holds no XML, only white space");
    } else {
      *error = displayName + ":" + std::to_string(xml->ErrorLineNum()) + ": not well-formed XML (" +
               DescribeXmlError(*xml) + ")";
    }
    return false;
  }
  const tinyxml2::XMLElement* root = xml->RootElement();
  std::string rootName = root && root->Name() ? root->Name() : "";
  if (rootName == "score-timewise") {
    *error = displayName +
             ": score-timewise files are not supported; save the score as MusicXML in the usual "
             "(score-partwise) form";
    return false;
  }
  if (rootName != "score-partwise") {
    *error = displayName + ": not a MusicXML score (its root element is <" + rootName + ">, not <score-partwise>)";
    return false;
  }
  return true;
}

bool MusicXmlDocument::EnsureMapped() const {
  if (!mapTried_) mapped_ = sourceMap_.Build(source_, xml_);
  mapTried_ = true;
  return mapped_;
}

void MusicXmlDocument::MarkChanged(tinyxml2::XMLElement* element) {
  if (element && changedSet_.insert(element).second) changed_.push_back(element);
}

bool MusicXmlDocument::MarkRemoved(tinyxml2::XMLElement* element) {
  const ElementSpan* span = element && EnsureMapped() ? sourceMap_.Find(element) : nullptr;
  if (!span || changedSet_.count(element)) return false;
  Edit removal{span->start, span->end - span->start, std::string()};
  const ElementSpan* next = element->NextSiblingElement() ? sourceMap_.Find(element->NextSiblingElement()) : nullptr;
  const ElementSpan* previous =
      element->PreviousSiblingElement() ? sourceMap_.Find(element->PreviousSiblingElement()) : nullptr;
  if (next && IsWhiteSpace(source_, span->end, next->start)) {
    removal.removed = next->start - span->start;
  } else if (!next && previous && IsWhiteSpace(source_, previous->end, span->start)) {
    removal.position = previous->end;
    removal.removed = span->end - previous->end;
  }
  removals_.push_back(removal);
  return true;
}

bool MusicXmlDocument::MakeEdit(tinyxml2::XMLElement* element, Edit* edit) const {
  tinyxml2::XMLPrinter printer(nullptr, true);
  element->Accept(&printer);
  std::string printed = printer.CStr();
  if (const ElementSpan* span = sourceMap_.Find(element)) {
    std::string original = source_.substr(span->start, span->startTagEnd - span->start);
    *edit =
        Edit{span->start, span->end - span->start, StartTagText::KeepUnchangedAttributes(original, *element, printed)};
    return true;
  }
  // A new element goes before the next element of the file, on a line of
  // its own when the file puts that element on one, or else after the
  // previous one.
  for (const tinyxml2::XMLElement* next = element->NextSiblingElement(); next; next = next->NextSiblingElement()) {
    const ElementSpan* span = sourceMap_.Find(next);
    if (!span) continue;
    std::string lineBreak = XmlSourceMap::LineBreakBefore(source_, span->start);
    std::string indent = lineBreak.empty() ? std::string() : XmlSourceMap::IndentBefore(source_, span->start);
    *edit = Edit{span->start, 0, printed + lineBreak + indent};
    return true;
  }
  for (const tinyxml2::XMLElement* previous = element->PreviousSiblingElement(); previous;
       previous = previous->PreviousSiblingElement()) {
    const ElementSpan* span = sourceMap_.Find(previous);
    if (!span) continue;
    std::string lineBreak = XmlSourceMap::LineBreakBefore(source_, span->start);
    std::string indent = lineBreak.empty() ? std::string() : XmlSourceMap::IndentBefore(source_, span->start);
    *edit = Edit{span->end, 0, lineBreak + indent + printed};
    return true;
  }
  const tinyxml2::XMLNode* parent = element->Parent();
  const ElementSpan* span = parent && parent->ToElement() ? sourceMap_.Find(parent->ToElement()) : nullptr;
  if (!span || span->startTagEnd == span->end) return false;
  *edit = Edit{span->startTagEnd, 0, printed};
  return true;
}

bool MusicXmlDocument::SavedText(std::string* text) const {
  std::vector<Edit> edits;
  size_t size = 0;
  if (!MakeEdits(&edits) || !Splice(edits, nullptr, &size)) return false;
  text->clear();
  text->reserve(size);
  return Splice(edits, text, &size);
}

bool MusicXmlDocument::MakeEdits(std::vector<Edit>* edits) const {
  if (!EnsureMapped()) return false;
  *edits = removals_;
  edits->reserve(removals_.size() + changed_.size());
  for (tinyxml2::XMLElement* element : changed_) {
    Edit edit;
    if (!MakeEdit(element, &edit)) return false;
    edits->push_back(std::move(edit));
  }
  std::stable_sort(edits->begin(), edits->end(),
                   [](const Edit& left, const Edit& right) { return left.position < right.position; });
  return true;
}

bool MusicXmlDocument::Splice(const std::vector<Edit>& edits, std::string* text, size_t* size) const {
  *size = 0;
  size_t copied = 0;
  bool removing = false;
  for (const Edit& edit : edits) {
    // Two removals may share the white space between them; other edits
    // inside one another cannot both be spliced in.
    if (edit.position < copied && removing && edit.text.empty()) {
      copied = std::max(copied, edit.position + edit.removed);
      continue;
    }
    if (edit.position < copied) return false;
    removing = edit.text.empty() && edit.removed > 0;
    if (text) text->append(source_, copied, edit.position - copied).append(edit.text);
    *size += edit.position - copied + edit.text.size();
    copied = edit.position + edit.removed;
  }
  if (text) text->append(source_, copied, std::string::npos);
  *size += source_.size() - std::min(copied, source_.size());
  return true;
}

std::string MusicXmlDocument::ToText() const {
  tinyxml2::XMLPrinter printer;
  xml_.Print(&printer);
  return std::string(printer.CStr(), static_cast<size_t>(printer.CStrSize() > 0 ? printer.CStrSize() - 1 : 0));
}

bool MusicXmlDocument::Save(const std::string& path, std::string* error) const {
  std::string bytes;
  return SaveToBytes(path, &bytes, error) && ScoreFile::Write(path, bytes, error);
}

bool MusicXmlDocument::SaveToBytes(const std::string& name, std::string* bytes, std::string* error) const {
  std::string text;
  tinyxml2::XMLDocument written;
  return TextToSave(name, &text, error) && ReadsAgain(text, name, &written, error) &&
         OutputBytes(std::move(text), name, bytes, error);
}

bool MusicXmlDocument::SaveAndRelease(const std::string& path, std::string* error) {
  std::string bytes;
  return SaveAndReleaseToBytes(path, &bytes, error) && ScoreFile::Write(path, bytes, error);
}

bool MusicXmlDocument::SaveAndReleaseToBytes(const std::string& name, std::string* bytes, std::string* error) {
  std::vector<Edit> edits;
  size_t size = 0;
  if (!CanSaveAs(name, error)) return false;
  if (!MakeEdits(&edits) || !Splice(edits, nullptr, &size)) {
    *error = UnmatchedTextMessage();
    return false;
  }
  // Splicing needs only the text that was read and the edits, so the tree
  // and its map go first; then the text read goes before the written text
  // is parsed. A long score never holds two trees, or a tree and two texts.
  ReleaseTree();
  std::string text;
  text.reserve(size);
  Splice(edits, &text, &size);
  std::vector<Edit>().swap(edits);
  std::string().swap(source_);
  // The written text is read into the tree's own memory, which tinyxml2
  // keeps for reuse when a document is cleared.
  bool readsAgain = ReadsAgain(text, name, &xml_, error);
  xml_.Clear();
  bool saved = readsAgain && OutputBytes(std::move(text), name, bytes, error);
  std::string().swap(archive_);
  return saved;
}

void MusicXmlDocument::ReleaseTree() {
  xml_.Clear();
  sourceMap_ = XmlSourceMap();
  mapTried_ = true;
  mapped_ = false;
  std::vector<tinyxml2::XMLElement*>().swap(changed_);
  std::unordered_set<const tinyxml2::XMLElement*>().swap(changedSet_);
  std::vector<Edit>().swap(removals_);
}

bool MusicXmlDocument::TextToSave(const std::string& path, std::string* text, std::string* error) const {
  if (!CanSaveAs(path, error)) return false;
  if (!SavedText(text)) {
    *error = UnmatchedTextMessage();
    return false;
  }
  return true;
}

bool MusicXmlDocument::CanSaveAs(const std::string& path, std::string* error) const {
  if (!HasArchiveExtension(path) || compressed_) return true;
  *error = path + ": an uncompressed score is not written as .mxl; choose a .musicxml name";
  return false;
}

std::string MusicXmlDocument::UnmatchedTextMessage() const {
  // Printing the whole tree instead would lose what the parser dropped and
  // may give a file that does not read again.
  return ScoreName() +
         ": the score's text cannot be matched to its XML elements (is there text after the root "
         "element?), so no file is written from it";
}

std::string MusicXmlDocument::ScoreName() const { return compressed_ ? path_ + " (" + rootFilePath_ + ")" : path_; }

bool MusicXmlDocument::OutputBytes(std::string text, const std::string& name, std::string* bytes,
                                   std::string* error) const {
  // Plain UTF-8 is handed on as it stands rather than copied.
  bool asItStands = encoding_.GetForm() == TextEncoding::Form::Utf8 && !encoding_.HasByteOrderMark();
  std::string encoded;
  if (asItStands) {
    encoded = std::move(text);
  } else if (!encoding_.Encode(text, &encoded)) {
    *error = name + ": the score holds text that " + encoding_.Name() + ", its encoding, cannot hold";
    return false;
  }
  std::string().swap(text);
  if (!HasArchiveExtension(name)) {
    *bytes = std::move(encoded);
    return true;
  }
  std::string archiveError;
  if (!MxlArchive::MakeCopy(path_, archive_, rootFilePath_, encoded, bytes, &archiveError)) {
    *error = name + ": " + archiveError;
    return false;
  }
  return true;
}

bool MusicXmlDocument::ReadsAgain(const std::string& text, const std::string& path, tinyxml2::XMLDocument* scratch,
                                  std::string* error) {
  std::string readError;
  if (!ParseXml(text, path, scratch, &readError)) {
    *error = path + ": the written score would not read again, so it is not written (" + readError + ")";
    return false;
  }
  if (!XmlSourceMap::Matches(text, *scratch)) {
    *error = path +
             ": the written score would not read again, so it is not written (its text cannot be matched "
             "to its elements)";
    return false;
  }
  return true;
}

}  // namespace musicxml

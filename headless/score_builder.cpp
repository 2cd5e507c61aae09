#include "headless/score_builder.h"

#include <algorithm>
#include <limits>
#include <set>

#include "headless/document.h"
#include "headless/headless_host.h"
#include "headless/pitch_spelling.h"
#include "headless/score_layout.h"

namespace headless {

namespace {

constexpr int kMostLayers = 32;

RecordBytes NewRecord(uint32_t tag, uint32_t hostVersion) {
  return RecordBytes(static_cast<size_t>(LayoutOf(tag, hostVersion).size), 0);
}

// Every measure record gets the key in force at it: the last change at or before it.
void ApplyKeys(DocumentContent& content) {
  uint16_t key = 0;
  // A 16-bit counter would never pass the last of 32,767 measures.
  for (int32_t number = 1; number <= content.MeasureCount(); ++number) {
    int16_t measure = static_cast<int16_t>(number);
    auto change = content.keyChanges.find(measure);
    if (change != content.keyChanges.end()) key = change->second;
    if (RecordBytes* record = content.records.Find(RecordKey{kMeasureTag, measure, 0, 0})) {
      MeasureRecord::KeyValue::Set(*record, key);
    }
  }
}

// Where an entry at position goes: after every entry that does not start
// later. Entries mostly come in order, so the end is tried first.
std::vector<EntryBytes>::iterator PlaceOfPosition(std::vector<EntryBytes>& cell, int32_t position) {
  auto startsLater = [position](const EntryBytes& entry) {
    return host_frame::Read<int32_t>(entry.data(), host_frame::kPositionOffset) > position;
  };
  if (cell.empty() || !startsLater(cell.back())) return cell.end();
  return std::find_if(cell.begin(), cell.end(), startsLater);
}

EntryBytes MakeEntry(uint32_t number, int32_t position, int32_t duration, const std::vector<NoteSpec>& notes,
                     const std::vector<NotePlacement>& placements, bool grace) {
  using namespace host_frame;
  EntryBytes entry{};
  uint32_t flags = notes.empty() ? 0 : kEntryIsNote;
  if (grace) flags |= kEntryIsGrace;
  Write<uint32_t>(entry.data(), kEntryNumberOffset, number);
  Write<uint32_t>(entry.data(), kEntryFlagsOffset, flags);
  Write<int16_t>(entry.data(), kNoteCountOffset, static_cast<int16_t>(notes.size()));
  Write<int32_t>(entry.data(), kPositionOffset, position);
  Write<int32_t>(entry.data(), kSecondPositionOffset, duration);
  for (size_t i = 0; i < notes.size(); ++i) {
    uint8_t* note = NoteAt(entry.data(), static_cast<int>(i));
    int16_t id = static_cast<int16_t>(i + 1);
    // Stored as a saved frame leaves it: the ID's low bits copied into the flags.
    uint32_t noteFlags = (notes[i].flags & ~kNoteIdCopyMask) | ((static_cast<uint32_t>(id) & 0x1F) << 16);
    Write<int16_t>(note, kDisplacementOffset, placements[i].displacement);
    Write<int16_t>(note, kRaiseLowerOffset, placements[i].raiseLower);
    Write<int16_t>(note, kNoteIdOffset, id);
    Write<uint32_t>(note, kNoteFlagsOffset, noteFlags);
  }
  return entry;
}

constexpr int16_t kScorePart = 0;
constexpr int16_t kGroupList = 0;  // first number of the document's staff groups

bool AllStavesExist(const DocumentContent& content, const std::vector<int16_t>& staves) {
  std::set<int16_t> seen;
  for (int16_t staff : staves) {
    if (!content.HasStaff(staff) || !seen.insert(staff).second) return false;
  }
  return !staves.empty();
}

}  // namespace

ScoreBuilder::ScoreBuilder() : ScoreBuilder(HeadlessHost::Instance()) {}

ScoreBuilder::ScoreBuilder(HeadlessHost& host) : host_(&host) {}

Document* ScoreBuilder::Data() const {
  if (Document* document = host_->DocumentData(document_)) return document;
  if (!host_->CurrentDocumentData()) host_->NewDocument();
  document_ = host_->CurrentDocument();
  return host_->CurrentDocumentData();
}

int16_t ScoreBuilder::DocumentId() const {
  Data();
  return document_;
}

void ScoreBuilder::LayOut() {
  if (Document* document = Data()) LayOutSystems(document->content, !document->content.unlaidSystems);
}

int16_t ScoreBuilder::AddMeasures(int count, int32_t length) {
  Document* document = Data();
  if (!document || count < 1 || length <= 0 ||
      document->content.MeasureCount() + count > std::numeric_limits<int16_t>::max()) {
    return 0;
  }
  DocumentContent& content = document->content;
  int16_t first = static_cast<int16_t>(content.MeasureCount() + 1);
  for (int i = 0; i < count; ++i) {
    content.measureLengths.push_back(length);
    content.records.Put(RecordKey{kMeasureTag, content.MeasureCount(), 0, 0},
                        NewRecord(kMeasureTag, host_->HostVersion()));
  }
  ApplyKeys(content);
  LayOut();
  return first;
}

bool ScoreBuilder::SetMeasureLength(int16_t measure, int32_t length) {
  Document* document = Data();
  if (!document || !document->content.HasMeasure(measure) || length <= 0) return false;
  document->content.measureLengths[static_cast<size_t>(measure - 1)] = length;
  return true;
}

int32_t ScoreBuilder::MeasureLength(int16_t measure) const {
  Document* document = Data();
  if (!document || !document->content.HasMeasure(measure)) return 0;
  return document->content.measureLengths[static_cast<size_t>(measure - 1)];
}

int16_t ScoreBuilder::MeasureCount() const {
  Document* document = Data();
  return document ? document->content.MeasureCount() : 0;
}

bool ScoreBuilder::SetKey(int16_t measure, int fifths, bool minor) { return SetKeys({{measure, fifths, minor}}); }

bool ScoreBuilder::SetKeys(const std::vector<KeyChange>& changes) {
  Document* document = Data();
  if (!document) return false;
  bool allSet = true;
  for (const KeyChange& change : changes) {
    if (!document->content.HasMeasure(change.measure) || change.fifths < -7 || change.fifths > 7) {
      allSet = false;
      continue;
    }
    document->content.keyChanges[change.measure] = MakeKeyValue(change.fifths, change.minor);
  }
  ApplyKeys(document->content);
  return allSet;
}

bool ScoreBuilder::SetCellKey(int16_t staff, int16_t measure, int fifths, bool minor) {
  Document* document = Data();
  if (!document || !document->content.HasMeasure(measure) || fifths < -7 || fifths > 7) return false;
  DocumentContent& content = document->content;
  RecordBytes* staffRecord = content.records.Find(RecordKey{kStaffTag, staff, 0, 0});
  if (!staffRecord) return false;
  StaffRecord::IndependentKeys::Set(*staffRecord,
                                    static_cast<int16_t>(StaffRecord::IndependentKeys::Get(*staffRecord) | 0x8000));
  RecordKey detailKey{kCellDetailTag, staff, measure, 0};
  RecordBytes detail = content.records.Find(detailKey) ? *content.records.Find(detailKey)
                                                       : NewRecord(kCellDetailTag, host_->HostVersion());
  CellDetailRecord::KeyValue::Set(detail, MakeKeyValue(fifths, minor));
  CellDetailRecord::Flags::Set(detail, static_cast<uint16_t>(CellDetailRecord::Flags::Get(detail) | kCellHasOwnKey));
  content.records.Put(detailKey, detail);
  return true;
}

uint16_t ScoreBuilder::KeyValueAt(int16_t staff, int16_t measure) const {
  Document* document = Data();
  if (!document) return 0;
  const RecordStore& records = document->content.records;
  const RecordBytes* staffRecord = records.Find(RecordKey{kStaffTag, staff, 0, 0});
  if (staffRecord && StaffRecord::IndependentKeys::Get(*staffRecord) < 0) {
    const RecordBytes* detail = records.Find(RecordKey{kCellDetailTag, staff, measure, 0});
    if (detail && (CellDetailRecord::Flags::Get(*detail) & kCellHasOwnKey))
      return CellDetailRecord::KeyValue::Get(*detail);
  }
  const RecordBytes* measureRecord = records.Find(RecordKey{kMeasureTag, measure, 0, 0});
  return measureRecord ? MeasureRecord::KeyValue::Get(*measureRecord) : 0;
}

bool ScoreBuilder::SetMeasureFlagValue(int16_t measure, int16_t value) {
  Document* document = Data();
  RecordBytes* record = document ? document->content.records.Find(RecordKey{kMeasureTag, measure, 0, 0}) : nullptr;
  // Only the newer layout (30 bytes) has the value.
  if (!record || record->size() < 30) return false;
  MeasureRecord::FlagValue::Set(*record, value);
  return true;
}

bool ScoreBuilder::SetGeneralPrefsOctaveValue(int16_t value) {
  Document* document = Data();
  RecordBytes* record = document ? document->content.records.Find(RecordKey{kGeneralPrefsTag, 1, 0, 0}) : nullptr;
  if (!record) return false;
  GeneralPrefsRecord::OctaveValue::Set(*record, value);
  return true;
}

VoiceWriter ScoreBuilder::Voice(int16_t staff, int layer, int16_t measure) {
  return VoiceWriter(this, staff, layer, measure);
}

uint32_t ScoreBuilder::AddEntry(int16_t staff, int16_t measure, int layer, int32_t position, int32_t duration,
                                const std::vector<NoteSpec>& notes, bool grace) {
  Document* document = Data();
  if (!document || !document->content.HasStaff(staff) || !document->content.HasMeasure(measure) || layer < 1 ||
      layer > kMostLayers || notes.size() > static_cast<size_t>(host_frame::kMaxNotes) || position < 0 ||
      duration < 0) {
    return 0;
  }
  DocumentContent& content = document->content;
  uint16_t key = KeyValueAt(staff, measure);
  const RecordBytes* prefs = content.records.Find(RecordKey{kGeneralPrefsTag, 1, 0, 0});
  int16_t octaveValue = prefs ? GeneralPrefsRecord::OctaveValue::Get(*prefs) : 0;
  std::vector<NotePlacement> placements(notes.size());
  for (size_t i = 0; i < notes.size(); ++i) {
    if (!PlaceNote(notes[i], key, octaveValue, &placements[i])) return 0;
  }
  std::vector<EntryBytes>& cell = content.CellForWriting(CellKey{staff, measure, static_cast<int16_t>(layer - 1)});
  if (cell.size() >= static_cast<size_t>(host_frame::kMaxEntries)) return 0;
  uint32_t number = content.nextEntryNumber++;
  cell.insert(PlaceOfPosition(cell, position), MakeEntry(number, position, duration, notes, placements, grace));
  for (size_t i = 0; i < notes.size(); ++i) {
    if (notes[i].sourceTag != 0) content.sourceTags[NoteKey{number, static_cast<int16_t>(i + 1)}] = notes[i].sourceTag;
  }
  return number;
}

int16_t ScoreBuilder::AddStaff(const char* fullName) {
  Document* document = Data();
  if (!document) return 0;
  DocumentContent& content = document->content;
  // Numbers are handed out rising, so the last one is the highest.
  int32_t next =
      content.staves.empty() ? kFirstStaffNumber : std::max<int32_t>(kFirstStaffNumber, content.staves.back() + 1);
  // Staff numbers are 16-bit: past the highest there is no number left.
  if (next > std::numeric_limits<int16_t>::max()) return 0;
  int16_t staff = static_cast<int16_t>(next);
  int16_t nameBlock = content.AddTextBlock(fullName ? fullName : "", host_->HostVersion());
  RecordBytes record = NewRecord(kStaffTag, host_->HostVersion());
  StaffRecord::NameTextBlock::Set(record, nameBlock);
  content.records.Put(RecordKey{kStaffTag, staff, 0, 0}, record);
  content.staves.push_back(staff);
  content.AppendSlot(kScorePart, staff);
  LayOut();
  return staff;
}

bool ScoreBuilder::SetSlotOrder(const std::vector<int16_t>& staves) {
  Document* document = Data();
  if (!document || staves.size() != document->content.staves.size() || !AllStavesExist(document->content, staves)) {
    return false;
  }
  document->content.SetSlotOrder(kScorePart, staves);
  LayOut();
  return true;
}

bool ScoreBuilder::SetStaffFlags(int16_t staff, uint16_t flags) {
  Document* document = Data();
  RecordBytes* record = document ? document->content.records.Find(RecordKey{kStaffTag, staff, 0, 0}) : nullptr;
  if (!record) return false;
  StaffRecord::Flags::Set(*record, flags);
  return true;
}

bool ScoreBuilder::SetStaffFlagsInMeasure(int16_t staff, int16_t measure, uint16_t flags) {
  Document* document = Data();
  if (!document || !document->content.HasStaff(staff) || !document->content.HasMeasure(measure)) return false;
  document->content.staffFlagsInMeasure[{staff, measure}] = flags;
  return true;
}

bool ScoreBuilder::SetStaffVersionWords(int16_t staff, uint16_t firstWord, uint16_t secondWord) {
  Document* document = Data();
  RecordBytes* record = document ? document->content.records.Find(RecordKey{kStaffTag, staff, 0, 0}) : nullptr;
  if (!record) return false;
  StaffRecord::FirstVersionWord::Set(*record, firstWord);
  StaffRecord::SecondVersionWord::Set(*record, secondWord);
  return true;
}

int16_t ScoreBuilder::AddGroup(int16_t firstStaff, int16_t lastStaff, const char* name, int16_t bracketKind,
                               int32_t grandStaffValue) {
  Document* document = Data();
  if (!document || !document->content.HasStaff(firstStaff) || !document->content.HasStaff(lastStaff)) return 0;
  DocumentContent& content = document->content;
  int16_t group = std::max<int16_t>(1, content.records.FreeSecond(kGroupTag, kGroupList));
  RecordBytes record = NewRecord(kGroupTag, host_->HostVersion());
  GroupRecord::FirstStaff::Set(record, firstStaff);
  GroupRecord::LastStaff::Set(record, lastStaff);
  GroupRecord::NameTextBlock::Set(record, content.AddTextBlock(name ? name : "", host_->HostVersion()));
  GroupRecord::BracketKind::Set(record, bracketKind);
  GroupRecord::GrandStaffValue::Set(record, grandStaffValue);
  content.records.Put(RecordKey{kGroupTag, kGroupList, group, 0}, record);
  return group;
}

int16_t ScoreBuilder::AddInstrument(const std::vector<int16_t>& staves, const char* groupName) {
  Document* document = Data();
  if (!document || staves.size() < 2 || staves.size() > 3 || !AllStavesExist(document->content, staves)) return 0;
  int16_t group = AddGroup(staves.front(), staves.back(), groupName, 3, 1);
  if (group == 0) return 0;
  DocumentContent& content = document->content;
  int16_t instrument = content.records.FreeFirst(kInstrumentTag);
  if (instrument <= 0) return 0;
  RecordBytes record = NewRecord(kInstrumentTag, host_->HostVersion());
  InstrumentRecord::FirstStaff::Set(record, staves[0]);
  InstrumentRecord::SecondStaff::Set(record, staves[1]);
  InstrumentRecord::ThirdStaff::Set(record, staves.size() > 2 ? staves[2] : 0);
  InstrumentRecord::Group::Set(record, group);
  content.records.Put(RecordKey{kInstrumentTag, instrument, 0, 0}, record);
  return instrument;
}

int16_t ScoreBuilder::AddPart(const char* name, const std::vector<int16_t>& staves) {
  Document* document = Data();
  if (!document || !AllStavesExist(document->content, staves)) return 0;
  DocumentContent& content = document->content;
  int16_t part = static_cast<int16_t>(content.parts.rbegin()->first + 1);
  content.parts[part].name = name ? name : "";
  RecordBytes record = NewRecord(kPartTag, host_->HostVersion());
  PartRecord::PartId::Set(record, part);
  content.records.Put(RecordKey{kPartTag, part, 0, 0}, record);
  content.SetSlotOrder(part, staves);
  LayOut();
  return part;
}

bool ScoreBuilder::SetMeasuresPerSystem(int count) {
  Document* document = Data();
  if (!document || count < 1) return false;
  document->content.measuresPerSystem = count;
  LayOut();
  return true;
}

bool ScoreBuilder::SetSystemStarts(int16_t part, const std::vector<int16_t>& firstMeasures) {
  Document* document = Data();
  if (!document || !document->content.HasPart(part)) return false;
  if (!std::is_sorted(firstMeasures.begin(), firstMeasures.end()) ||
      (!firstMeasures.empty() && firstMeasures.front() != 1)) {
    return false;
  }
  document->content.parts[part].systemStarts = firstMeasures;
  LayOut();
  return true;
}

void ScoreBuilder::SetUnlaidSystems(bool unlaid) {
  Document* document = Data();
  if (!document) return;
  document->content.unlaidSystems = unlaid;
  LayOut();
}

VoiceWriter::VoiceWriter(ScoreBuilder* builder, int16_t staff, int layer, int16_t measure)
    : builder_(builder), staff_(staff), layer_(layer), measure_(measure) {}

uint32_t VoiceWriter::Append(const std::vector<NoteSpec>& notes, int32_t duration, bool grace) {
  uint32_t entry = builder_->AddEntry(staff_, measure_, layer_, position_, duration, notes, grace);
  if (entry == 0 || grace) return entry;
  position_ += duration;
  int32_t length = builder_->MeasureLength(measure_);
  if (length > 0 && position_ >= length) {
    ++measure_;
    position_ = 0;
  }
  return entry;
}

uint32_t VoiceWriter::Note(const char* pitch, int32_t duration) {
  NoteSpec note;
  if (!ParseNoteText(pitch, &note)) return 0;
  return Append({note}, duration, false);
}

uint32_t VoiceWriter::Chord(std::initializer_list<const char*> pitches, int32_t duration) {
  std::vector<std::string> texts;
  for (const char* pitch : pitches) texts.push_back(pitch ? pitch : "");
  return Chord(texts, duration);
}

uint32_t VoiceWriter::Chord(const std::vector<std::string>& pitches, int32_t duration) {
  std::vector<NoteSpec> notes;
  for (const std::string& pitch : pitches) {
    NoteSpec note;
    if (!ParseNoteText(pitch.c_str(), &note)) return 0;
    notes.push_back(note);
  }
  if (notes.empty()) return 0;
  return Append(notes, duration, false);
}

uint32_t VoiceWriter::Rest(int32_t duration) { return Append({}, duration, false); }

uint32_t VoiceWriter::Grace(const char* pitch, int32_t duration) {
  NoteSpec note;
  if (!ParseNoteText(pitch, &note)) return 0;
  return Append({note}, duration, true);
}

void VoiceWriter::NextMeasure() {
  if (position_ == 0) return;
  ++measure_;
  position_ = 0;
}

void VoiceWriter::MoveTo(int16_t measure, int32_t position) {
  measure_ = measure;
  position_ = position;
}

}  // namespace headless

#include "webengine/web_engine.h"

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/musicxml/musicxml_test_support.h"
#include "webengine/json_reader.h"

namespace {

using webengine::JsonValue;
using webengine::WebEngine;

std::string ExamplesFolder() {
  const char* source = std::getenv("RZ_SOURCE_DIR");
  return source ? std::string(source) + "/examples" : std::string();
}

std::string ReadExample(const std::string& name) { return musicxml_test::ReadFile(ExamplesFolder() + "/" + name); }

JsonValue Parsed(const std::string& text) {
  JsonValue value;
  std::string error;
  EXPECT_TRUE(JsonValue::Parse(text, &value, &error)) << error << "\n" << text;
  return value;
}

// "Eb5" as step, alteration and octave; "x" is a double sharp.
void ReadPitchName(const std::string& name, std::string* step, int* alter, int* octave) {
  *step = name.substr(0, 1);
  *alter = 0;
  size_t position = 1;
  for (; position < name.size() && !std::isdigit(static_cast<unsigned char>(name[position])) && name[position] != '-';
       ++position) {
    *alter += name[position] == '#' ? 1 : name[position] == 'x' ? 2 : name[position] == 'b' ? -1 : 0;
  }
  *octave = std::atoi(name.c_str() + position);
}

std::vector<const tinyxml2::XMLElement*> NotesById(const tinyxml2::XMLDocument& document) {
  std::vector<const tinyxml2::XMLElement*> notes;
  std::vector<const tinyxml2::XMLElement*> pending{document.RootElement()};
  // Depth first, children in order: document order.
  while (!pending.empty()) {
    const tinyxml2::XMLElement* element = pending.back();
    pending.pop_back();
    if (std::string(element->Name()) == "note") notes.push_back(element);
    std::vector<const tinyxml2::XMLElement*> children;
    for (auto* child = element->FirstChildElement(); child; child = child->NextSiblingElement())
      children.push_back(child);
    pending.insert(pending.end(), children.rbegin(), children.rend());
  }
  return notes;
}

// For every example, the <note> behind each finding's noteIndex in the
// numbered text is the finding's note, and the numbers run 0, 1, 2, ...
TEST(WebEngineTest, FindingsNameTheirNotesInTheNumberedText) {
  ASSERT_FALSE(ExamplesFolder().empty()) << "RZ_SOURCE_DIR is not set";
  int checked = 0;
  for (const auto& entry : std::filesystem::directory_iterator(ExamplesFolder())) {
    if (entry.path().extension() != ".musicxml") continue;
    std::string name = entry.path().filename().string();
    WebEngine engine;
    ASSERT_TRUE(engine.Open(ReadExample(name), name)) << engine.Message();
    std::string text = engine.ScoreText();
    tinyxml2::XMLDocument document;
    ASSERT_EQ(document.Parse(text.data(), text.size()), tinyxml2::XML_SUCCESS) << name;
    std::vector<const tinyxml2::XMLElement*> notes = NotesById(document);
    for (size_t index = 0; index < notes.size(); ++index) {
      ASSERT_STREQ(notes[index]->Attribute("id"), ("rzn-" + std::to_string(index)).c_str()) << name;
    }
    JsonValue scan = Parsed(engine.Scan("", "", 0xF));
    ASSERT_TRUE(scan.Find("findings")) << name;
    for (const JsonValue& finding : scan.Find("findings")->Items()) {
      int64_t noteIndex = static_cast<int64_t>(finding.Find("noteIndex")->Number());
      int64_t related = static_cast<int64_t>(finding.Find("relatedNoteIndex")->Number());
      ASSERT_GE(noteIndex, 0) << name;
      ASSERT_LT(static_cast<size_t>(noteIndex), notes.size()) << name;
      EXPECT_LT(related, static_cast<int64_t>(notes.size())) << name;
      EXPECT_NE(related, noteIndex) << name;
      const JsonValue* written = finding.Find("writtenNote");
      std::string step;
      int alter = 0;
      int octave = 0;
      ReadPitchName((written ? written : finding.Find("note"))->String(), &step, &alter, &octave);
      const tinyxml2::XMLElement* pitch = notes[static_cast<size_t>(noteIndex)]->FirstChildElement("pitch");
      ASSERT_TRUE(pitch) << name << " note " << noteIndex;
      EXPECT_STREQ(pitch->FirstChildElement("step")->GetText(), step.c_str()) << name << " note " << noteIndex;
      EXPECT_EQ(pitch->FirstChildElement("octave")->IntText(), octave) << name << " note " << noteIndex;
      const tinyxml2::XMLElement* alterElement = pitch->FirstChildElement("alter");
      EXPECT_EQ(alterElement ? alterElement->IntText() : 0, alter) << name << " note " << noteIndex;
      ++checked;
    }
  }
  EXPECT_GT(checked, 10);
}

// An id the file gave a note is replaced, a UTF-16 file is handed out as
// UTF-8 saying so, and everything else of the text stays.
TEST(WebEngineTest, NumberedTextReplacesIdsAndSaysUtf8) {
  std::string text = ReadExample("key_change.musicxml");
  size_t firstNote = text.find("<note>");
  ASSERT_NE(firstNote, std::string::npos);
  std::string withId = text;
  withId.replace(firstNote, 6, "<note id='mine' >");
  std::string declared = withId;
  declared.replace(declared.find("encoding=\"UTF-8\""), 16, "encoding=\"UTF-16\"");
  std::string utf16 = "\xFF\xFE";
  for (char c : declared) utf16 += std::string{c, '\0'};
  WebEngine engine;
  ASSERT_TRUE(engine.Open(utf16, "utf16.musicxml")) << engine.Message();
  std::string numbered = engine.ScoreText();
  std::string expected = text;
  expected.replace(firstNote, 6, "<note id=\"rzn-0\" >");
  for (size_t at = expected.find("<note>"), index = 1; at != std::string::npos;
       at = expected.find("<note>", at), ++index) {
    expected.replace(at, 6, "<note id=\"rzn-" + std::to_string(index) + "\">");
  }
  EXPECT_EQ(numbered, expected);
}

// Bad input from the page gives an answer with a message, never a crash.
TEST(WebEngineTest, BadInputIsRefusedWithAMessage) {
  WebEngine engine;
  EXPECT_EQ(engine.ScoreText(), "");
  EXPECT_NE(engine.Scan("", "", 0xF).find("\"error\""), std::string::npos);
  EXPECT_EQ(engine.Apply("[]", false, "", "out.musicxml"), -1);
  EXPECT_FALSE(engine.Open("not a score", "broken.musicxml"));
  EXPECT_NE(engine.Message().find("broken.musicxml"), std::string::npos);
  ASSERT_TRUE(engine.Open(ReadExample("key_change.musicxml"), "key_change.musicxml"));
  EXPECT_NE(engine.Scan("<broken", "", 0xF).find("\"error\""), std::string::npos);
  EXPECT_NE(engine.Scan("", "", 0x10).find("\"error\""), std::string::npos);
  Parsed(engine.Scan("", "", 0xF));
  for (const char* choices : {"", "{}", "[{\"index\":99}]", "[{\"index\":-1}]", "[{\"index\":0.5}]",
                              "[{\"index\":0,\"parentheses\":1}]", "[{\"index\":0}"}) {
    EXPECT_EQ(engine.Apply(choices, false, "", "out.musicxml"), -1) << choices;
    EXPECT_FALSE(engine.Message().empty()) << choices;
  }
  EXPECT_GT(engine.Apply("[{\"index\":0,\"parentheses\":false}]", true, "#FF0000", "out.musicxml"), 0)
      << engine.Message();
  EXPECT_EQ(engine.Output().find("parentheses=\"yes\""), std::string::npos);
  EXPECT_EQ(engine.Output().find("bracket=\"yes\""), std::string::npos);
  EXPECT_NE(engine.Output().find("color=\"#FF0000\""), std::string::npos);
  EXPECT_EQ(engine.Clean("", "empty.musicxml", "out.musicxml"), -1);
}

// The profiles of a settings file read into JSON and written back give the
// same profiles, with the attributes that are no options kept.
TEST(WebEngineTest, ProfilesReadAndWriteBack) {
  std::string file = ReadExample("rzpluginstorage.xml");
  size_t profile = file.find("<SettingsProfile ");
  ASSERT_NE(profile, std::string::npos);
  file.insert(profile + 17, "Colour=\"blue\" ");
  std::string json = WebEngine::ReadProfiles(file);
  JsonValue profiles = Parsed(json);
  EXPECT_EQ(profiles.Find("error")->String(), "");
  ASSERT_GE(profiles.Find("profiles")->Items().size(), 1u);
  EXPECT_EQ(profiles.Find("profiles")->Items()[0].Find("values")->Find("Colour")->String(), "blue");
  WebEngine engine;
  std::string written;
  ASSERT_TRUE(engine.WriteProfiles(json, &written)) << engine.Message();
  EXPECT_EQ(WebEngine::ReadProfiles(written), json);

  JsonValue fresh = Parsed(WebEngine::ReadProfiles(""));
  ASSERT_EQ(fresh.Find("profiles")->Items().size(), 1u);
  EXPECT_EQ(fresh.Find("profiles")->Items()[0].Find("name")->String(), "Default Profile");
  EXPECT_NE(Parsed(WebEngine::ReadProfiles("<x")).Find("error")->String(), "");
  for (const char* bad : {"", "[]", "{\"profiles\":[{\"values\":{}}]}",
                          "{\"profiles\":[{\"name\":\"A\",\"values\":{\"GrandStaff\":\"1\"}}]}",
                          "{\"profiles\":[{\"name\":\"A\",\"values\":{\"SystemTieMode\":1.5}}]}",
                          "{\"profiles\":[{\"name\":\"\\ud800\"}]}"}) {
    EXPECT_FALSE(engine.WriteProfiles(bad, &written)) << bad;
    EXPECT_EQ(written, "") << bad;
  }
}

// The option table names every option with the profile editor's label.
TEST(WebEngineTest, OptionsCarryTheEditorsLabels) {
  JsonValue options = Parsed(WebEngine::OptionsJson());
  const std::vector<JsonValue>& rows = options.Find("options")->Items();
  ASSERT_EQ(rows.size(), 19u);
  EXPECT_EQ(rows[0].Find("label")->String(), "Cross-Stave Checks");
  EXPECT_EQ(rows.back().Find("key")->String(), "SystemTieMode");
  EXPECT_EQ(rows.back().Find("choices")->Items().size(), 8u);
  EXPECT_EQ(options.Find("layers")->Items().size(), 4u);
}

}  // namespace

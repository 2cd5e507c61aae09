#include "webengine/web_engine.h"

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <nlohmann/json.hpp>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/musicxml/musicxml_test_support.h"

namespace {

using Json = nlohmann::json;
using webengine::WebEngine;

std::string ExamplesFolder() {
  const char* source = std::getenv("RZ_SOURCE_DIR");
  return source ? std::string(source) + "/examples" : std::string();
}

std::string ReadExample(const std::string& name) { return musicxml_test::ReadFile(ExamplesFolder() + "/" + name); }

Json Parsed(const std::string& text) {
  Json value = Json::parse(text, nullptr, false);
  EXPECT_FALSE(value.is_discarded()) << text;
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
    Json scan = Parsed(engine.Scan("", "", 0xF));
    ASSERT_TRUE(scan.contains("findings")) << name;
    for (const Json& finding : scan["findings"]) {
      int64_t noteIndex = finding.value("noteIndex", int64_t{-1});
      int64_t related = finding.value("relatedNoteIndex", int64_t{-1});
      ASSERT_GE(noteIndex, 0) << name;
      ASSERT_LT(static_cast<size_t>(noteIndex), notes.size()) << name;
      EXPECT_LT(related, static_cast<int64_t>(notes.size())) << name;
      EXPECT_NE(related, noteIndex) << name;
      std::string written = finding.value("writtenNote", finding.value("note", std::string()));
      std::string step;
      int alter = 0;
      int octave = 0;
      ReadPitchName(written, &step, &alter, &octave);
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

// The profiles of a settings file read into JSON and written back into it
// give the same profiles, with the attributes that are no options kept and
// what another plug-in keeps in the file untouched.
TEST(WebEngineTest, ProfilesReadAndWriteBack) {
  std::string file = ReadExample("rzpluginstorage.xml");
  size_t profile = file.find("<SettingsProfile ");
  ASSERT_NE(profile, std::string::npos);
  file.insert(profile + 17, "Colour=\"blue\" ");
  size_t root = file.find("<RZPluginSettings>");
  ASSERT_NE(root, std::string::npos);
  file.insert(root + 18, "<RZOther Keep=\"1\"/>");
  std::string json = WebEngine::ReadProfiles(file);
  Json profiles = Parsed(json);
  EXPECT_EQ(profiles["error"], "");
  ASSERT_GE(profiles["profiles"].size(), 1u);
  EXPECT_EQ(profiles["profiles"][0]["values"]["Colour"], "blue");
  WebEngine engine;
  std::string written;
  ASSERT_TRUE(engine.WriteProfiles(json, file, &written)) << engine.Message();
  EXPECT_EQ(WebEngine::ReadProfiles(written), json);
  EXPECT_NE(written.find("<RZOther Keep=\"1\"/>"), std::string::npos);
  ASSERT_TRUE(engine.WriteProfiles(json, "", &written)) << engine.Message();
  EXPECT_EQ(WebEngine::ReadProfiles(written), json);
  EXPECT_FALSE(engine.WriteProfiles(json, "<RZPluginSettings>", &written));

  // Without a file the presets are offered, and their rules survive a save.
  std::string presets = WebEngine::ReadProfiles("");
  Json fresh = Parsed(presets);
  ASSERT_EQ(fresh["profiles"].size(), 4u);
  EXPECT_EQ(fresh["profiles"][0]["name"], "Default Profile");
  EXPECT_EQ(fresh["profiles"][0]["values"]["NextMeasureUpToBeat"], false);
  EXPECT_EQ(fresh["profiles"][1]["name"], "Engraver");
  EXPECT_EQ(fresh["profiles"][1]["values"]["NextMeasureUpToBeat"], true);
  ASSERT_TRUE(engine.WriteProfiles(presets, "", &written)) << engine.Message();
  EXPECT_EQ(WebEngine::ReadProfiles(written), presets);
  EXPECT_NE(Parsed(WebEngine::ReadProfiles("<x"))["error"], "");
  for (const char* bad : {"", "[]", "{\"profiles\":[{\"values\":{}}]}",
                          "{\"profiles\":[{\"name\":\"A\",\"values\":{\"GrandStaff\":\"1\"}}]}",
                          "{\"profiles\":[{\"name\":\"A\",\"values\":{\"SystemTieMode\":1.5}}]}",
                          "{\"profiles\":[{\"name\":\"\\ud800\"}]}"}) {
    EXPECT_FALSE(engine.WriteProfiles(bad, "", &written)) << bad;
    EXPECT_EQ(written, "") << bad;
  }
}

// The option table names every option with the profile editor's label.
TEST(WebEngineTest, OptionsCarryTheEditorsLabels) {
  Json options = Parsed(WebEngine::OptionsJson());
  const Json& rows = options["options"];
  ASSERT_EQ(rows.size(), 23u);
  EXPECT_EQ(rows.front()["label"], "Cross-Stave Checks");
  EXPECT_EQ(rows[9]["label"], "On Same Beat");
  EXPECT_EQ(rows[9]["group"], "Cautionary Parentheses");
  EXPECT_EQ(rows[16]["label"], "Next Measure Only, Up to the Same Beat");
  EXPECT_EQ(rows[16]["group"], "Engraving Rules");
  EXPECT_EQ(rows.back()["key"], "SystemTieMode");
  EXPECT_EQ(rows.back()["choices"].size(), 8u);
  EXPECT_EQ(options["layers"].size(), 4u);
}

}  // namespace

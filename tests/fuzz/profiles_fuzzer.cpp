// The settings-profile file: load, add a profile, save, load again. A save
// that succeeds leaves a file that loads with exactly the saved profiles and
// keeps everything outside this plug-in's profile list; a damaged file is
// kept byte for byte as a backup; a save that fails leaves the file as it was.
#include <tinyxml2.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "settings/tc_settings_profiles.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

bool HaveSameProfiles(const TCSettingsProfiles& some, const TCSettingsProfiles& others) {
  if (some.GetCount() != others.GetCount()) return false;
  for (int32_t index = 0; index < some.GetCount(); ++index) {
    if (!some.GetProfileAt(index)->HasSameValues(others.GetProfileAt(index))) return false;
  }
  return true;
}

// The document as printed without the children of this plug-in's profile
// list; empty when the text does not parse or has no such list.
std::string PrintedWithoutProfiles(const std::string& text) {
  tinyxml2::XMLDocument document(true);
  if (document.Parse(text.data(), text.size()) != tinyxml2::XML_SUCCESS) return std::string();
  tinyxml2::XMLElement* list = document.FirstChildElement("RZPluginSettings");
  list = list ? list->FirstChildElement("RZAccidentals") : nullptr;
  list = list ? list->FirstChildElement("SettingsProfiles") : nullptr;
  if (!list) return std::string();
  list->DeleteChildren();
  tinyxml2::XMLPrinter printer;
  document.Print(&printer);
  return printer.CStr();
}

// The text as tinyxml2 prints it after reading it. Its printer writes a
// carriage return in text as it is, which the next read makes a line feed,
// and adds a line break to text beside the root; a save may do no more than
// that to what is not ours.
std::string AsPrinted(const std::string& text) {
  tinyxml2::XMLDocument document(true);
  if (document.Parse(text.data(), text.size()) != tinyxml2::XML_SUCCESS) return std::string();
  tinyxml2::XMLPrinter printer;
  document.Print(&printer);
  return printer.CStr();
}

TCSettingsProfile* EditedProfile() {
  auto* profile = new TCSettingsProfile;
  TCString name;
  name.SetUTF8(
      "Fuzz \xC3\xA9"
      "dition");
  profile->SetName(&name);
  profile->SetCourtesyMeasureRange(4);
  profile->SetSystemTieMode(6);
  profile->SetCheckOptions(0x0F5);
  return profile;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::ScratchFolder& folder = fuzz::ScratchFolder::Instance();
  folder.Clear();
  fuzz::FreshHost();
  std::string path = folder.File("rzpluginstorage.xml");
  std::string original(reinterpret_cast<const char*>(data), size);
  fuzz::WriteBytes(path, data, size);

  TCSettingsProfiles profiles;
  bool loaded = profiles.LoadProfiles();
  profiles.Add(EditedProfile());
  bool saved = profiles.SaveProfiles();
  std::string backup = folder.File("rzpluginstorage.xml.bak1");
  if (!saved) {
    fuzz::Check(!fuzz::Exists(path) || fuzz::ReadBytes(path) == original, "a failed save leaves the file as it was");
    fuzz::Check(!fuzz::Exists(backup) || fuzz::ReadBytes(backup) == original, "a backup holds the file as it was");
    return 0;
  }
  TCSettingsProfiles reloaded;
  fuzz::Check(reloaded.LoadProfiles(), "a saved file loads");
  fuzz::Check(HaveSameProfiles(profiles, reloaded), "a saved file loads with the saved profiles");
  if (fuzz::Exists(backup)) {
    fuzz::Check(fuzz::ReadBytes(backup) == original, "the backup of a damaged file holds it byte for byte");
  } else if (loaded) {
    fuzz::Check(PrintedWithoutProfiles(fuzz::ReadBytes(path)) == PrintedWithoutProfiles(AsPrinted(original)),
                "a save changes nothing outside the profile list");
  }
  return 0;
}

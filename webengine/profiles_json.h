// The settings profiles as the page edits them: the option table with the
// profile editor's labels, and the profiles of the plug-in's settings file
// (rzpluginstorage.xml) read into JSON and written back from it by the
// plug-in's own settings code.
#pragma once

#include <string>

namespace webengine {

class ProfilesJson {
 public:
  // {"options":[{"key","label","kind","choices","default"}...],"layers":[1,2,3,4]}
  static std::string Options();
  // {"profiles":[{"name","values":{...}}...],"error":""}; an empty text
  // gives the presets that come with the plug-in, the default profile first.
  // Attributes of a profile that are not options are kept as strings.
  static std::string Read(const std::string& xmlText);
  // The settings file's text for profiles JSON as Read gives it, written
  // into the file baseXml (empty: a new file) as the plug-in saves: its
  // profile list is replaced and everything else stays. False with a
  // message when the JSON or the base file is not such.
  static bool Write(const std::string& profilesJson, const std::string& baseXml, std::string* xmlText,
                    std::string* error);
};

}  // namespace webengine

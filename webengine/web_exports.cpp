// The module's C functions over one engine. Each keeps its answer in a
// string that lives until the next call, and stops anything thrown (memory
// running out) at the boundary with the page's JavaScript.
#include "webengine/web_exports.h"

#include <emscripten/emscripten.h>

#include <string>

#include "webengine/web_engine.h"

namespace {

webengine::WebEngine& Engine() {
  static webengine::WebEngine engine;
  return engine;
}

std::string& Answer() {
  static std::string answer;
  return answer;
}

std::string& Failure() {
  static std::string failure;
  return failure;
}

const char* Keep(std::string text) {
  Answer() = std::move(text);
  return Answer().c_str();
}

std::string Text(const char* text) { return text ? std::string(text) : std::string(); }

std::string Bytes(const unsigned char* bytes, int size) {
  if (!bytes || size <= 0) return std::string();
  return std::string(reinterpret_cast<const char*>(bytes), static_cast<size_t>(size));
}

constexpr const char* kOutOfMemory = "the engine ran out of memory";

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE int rz_open(const unsigned char* bytes, int size, const char* name) {
  Failure().clear();
  try {
    return Engine().Open(Bytes(bytes, size), Text(name)) ? 1 : 0;
  } catch (...) {
    Failure() = kOutOfMemory;
    return 0;
  }
}

EMSCRIPTEN_KEEPALIVE const char* rz_message(void) {
  return Failure().empty() ? Engine().Message().c_str() : Failure().c_str();
}

EMSCRIPTEN_KEEPALIVE const char* rz_warnings(void) {
  try {
    return Keep(Engine().WarningsJson());
  } catch (...) {
    return "[]";
  }
}

EMSCRIPTEN_KEEPALIVE const char* rz_score_text(void) {
  try {
    return Keep(Engine().ScoreText());
  } catch (...) {
    return "";
  }
}

EMSCRIPTEN_KEEPALIVE const char* rz_options(void) {
  try {
    return Keep(webengine::WebEngine::OptionsJson());
  } catch (...) {
    return "";
  }
}

EMSCRIPTEN_KEEPALIVE const char* rz_profiles_read(const char* xmlText) {
  try {
    return Keep(webengine::WebEngine::ReadProfiles(Text(xmlText)));
  } catch (...) {
    return "{\"profiles\":[],\"error\":\"the engine ran out of memory\"}";
  }
}

EMSCRIPTEN_KEEPALIVE const char* rz_profiles_write(const char* profilesJson, const char* baseXml) {
  Failure().clear();
  try {
    std::string xmlText;
    Engine().WriteProfiles(Text(profilesJson), Text(baseXml), &xmlText);
    return Keep(std::move(xmlText));
  } catch (...) {
    Failure() = kOutOfMemory;
    return "";
  }
}

EMSCRIPTEN_KEEPALIVE const char* rz_scan(const char* profilesXml, const char* profileName, int layerMask) {
  try {
    return Keep(Engine().Scan(Text(profilesXml), Text(profileName), static_cast<uint32_t>(layerMask)));
  } catch (...) {
    return "{\"error\":\"the engine ran out of memory\"}";
  }
}

EMSCRIPTEN_KEEPALIVE int rz_apply(const char* choicesJson, int brackets, const char* color, const char* outputName) {
  Failure().clear();
  try {
    return Engine().Apply(Text(choicesJson), brackets == 1, Text(color), Text(outputName));
  } catch (...) {
    Failure() = kOutOfMemory;
    return -1;
  }
}

EMSCRIPTEN_KEEPALIVE const unsigned char* rz_output(void) {
  return reinterpret_cast<const unsigned char*>(Engine().Output().data());
}

EMSCRIPTEN_KEEPALIVE int rz_output_size(void) { return static_cast<int>(Engine().Output().size()); }

EMSCRIPTEN_KEEPALIVE int rz_clean(const unsigned char* bytes, int size, const char* name, const char* outputName) {
  Failure().clear();
  try {
    return Engine().Clean(Bytes(bytes, size), Text(name), Text(outputName));
  } catch (...) {
    Failure() = kOutOfMemory;
    return -1;
  }
}

}  // extern "C"

#include "webengine/json_reader.h"

#include <cstdlib>

namespace webengine {

namespace {
constexpr int kMaxDepth = 64;
}

class JsonParser {
 public:
  explicit JsonParser(const std::string& text) : text_(text) {}

  bool ParseDocument(JsonValue* value, std::string* error) {
    bool read = ParseValue(value, 0);
    SkipSpace();
    if (read && position_ == text_.size()) return true;
    *error = "not valid JSON at offset " + std::to_string(position_);
    return false;
  }

 private:
  void SkipSpace() {
    while (position_ < text_.size() && (text_[position_] == ' ' || text_[position_] == '\t' ||
                                        text_[position_] == '\n' || text_[position_] == '\r')) {
      ++position_;
    }
  }

  bool Take(char expected) {
    SkipSpace();
    if (position_ >= text_.size() || text_[position_] != expected) return false;
    ++position_;
    return true;
  }

  bool TakeWord(const char* word) {
    size_t length = std::char_traits<char>::length(word);
    if (text_.compare(position_, length, word) != 0) return false;
    position_ += length;
    return true;
  }

  bool ParseValue(JsonValue* value, int depth) {
    SkipSpace();
    if (position_ >= text_.size() || depth > kMaxDepth) return false;
    char first = text_[position_];
    if (first == '{') return ParseObject(value, depth);
    if (first == '[') return ParseArray(value, depth);
    if (first == '"') {
      value->kind_ = JsonValue::Kind::String;
      return ParseString(&value->string_);
    }
    if (TakeWord("true") || TakeWord("false")) {
      value->kind_ = JsonValue::Kind::Boolean;
      value->boolean_ = first == 't';
      return true;
    }
    if (TakeWord("null")) return true;
    return ParseNumber(value);
  }

  bool ParseNumber(JsonValue* value) {
    size_t end = position_;
    while (end < text_.size() && std::string("+-0123456789.eE").find(text_[end]) != std::string::npos) ++end;
    if (end == position_) return false;
    std::string digits = text_.substr(position_, end - position_);
    char* stop = nullptr;
    value->number_ = std::strtod(digits.c_str(), &stop);
    if (stop != digits.c_str() + digits.size()) return false;
    value->kind_ = JsonValue::Kind::Number;
    position_ = end;
    return true;
  }

  bool ParseObject(JsonValue* value, int depth) {
    value->kind_ = JsonValue::Kind::Object;
    ++position_;
    if (Take('}')) return true;
    do {
      std::pair<std::string, JsonValue> member;
      SkipSpace();
      if (position_ >= text_.size() || text_[position_] != '"' || !ParseString(&member.first) || !Take(':') ||
          !ParseValue(&member.second, depth + 1)) {
        return false;
      }
      value->members_.push_back(std::move(member));
    } while (Take(','));
    return Take('}');
  }

  bool ParseArray(JsonValue* value, int depth) {
    value->kind_ = JsonValue::Kind::Array;
    ++position_;
    if (Take(']')) return true;
    do {
      JsonValue item;
      if (!ParseValue(&item, depth + 1)) return false;
      value->items_.push_back(std::move(item));
    } while (Take(','));
    return Take(']');
  }

  bool ParseHex(uint32_t* code) {
    if (position_ + 4 > text_.size()) return false;
    *code = 0;
    for (int digit = 0; digit < 4; ++digit) {
      char c = text_[position_++];
      int nibble = c >= '0' && c <= '9'   ? c - '0'
                   : c >= 'a' && c <= 'f' ? c - 'a' + 10
                   : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                          : -1;
      if (nibble < 0) return false;
      *code = *code * 16 + static_cast<uint32_t>(nibble);
    }
    return true;
  }

  // A \u escape, with the second half of a surrogate pair where one follows.
  bool ParseEscapedCode(std::string* out) {
    uint32_t code = 0;
    if (!ParseHex(&code)) return false;
    if (code >= 0xD800 && code <= 0xDBFF) {
      uint32_t low = 0;
      if (!TakeWord("\\u") || !ParseHex(&low) || low < 0xDC00 || low > 0xDFFF) return false;
      code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
    } else if (code >= 0xDC00 && code <= 0xDFFF) {
      return false;
    }
    AppendUtf8(code, out);
    return true;
  }

  static void AppendUtf8(uint32_t code, std::string* out) {
    if (code < 0x80) {
      out->push_back(static_cast<char>(code));
    } else if (code < 0x800) {
      out->push_back(static_cast<char>(0xC0 | (code >> 6)));
      out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
      out->push_back(static_cast<char>(0xE0 | (code >> 12)));
      out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
      out->push_back(static_cast<char>(0xF0 | (code >> 18)));
      out->push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
      out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
  }

  bool ParseString(std::string* out) {
    ++position_;
    while (position_ < text_.size()) {
      char c = text_[position_++];
      if (c == '"') return true;
      if (static_cast<unsigned char>(c) < 0x20) return false;
      if (c != '\\') {
        out->push_back(c);
        continue;
      }
      if (position_ >= text_.size()) return false;
      char escaped = text_[position_++];
      static const std::string kEscapes = "\"\\/bfnrt";
      static const std::string kMeanings = "\"\\/\b\f\n\r\t";
      size_t found = kEscapes.find(escaped);
      if (found != std::string::npos) {
        out->push_back(kMeanings[found]);
      } else if (escaped != 'u' || !ParseEscapedCode(out)) {
        return false;
      }
    }
    return false;
  }

  const std::string& text_;
  size_t position_ = 0;
};

bool JsonValue::Parse(const std::string& text, JsonValue* value, std::string* error) {
  *value = JsonValue();
  JsonParser parser(text);
  if (parser.ParseDocument(value, error)) return true;
  *value = JsonValue();
  return false;
}

const JsonValue* JsonValue::Find(const std::string& name) const {
  for (const auto& member : members_) {
    if (member.first == name) return &member.second;
  }
  return nullptr;
}

}  // namespace webengine

// A small JSON reader for what the page sends: objects, arrays, strings,
// numbers, true, false and null. Bad text gives false, never an exception;
// nesting is limited so that no input can exhaust the stack.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace webengine {

class JsonValue {
 public:
  enum class Kind { Null, Boolean, Number, String, Array, Object };

  // Reads text whole; false with a message naming the offset of the fault.
  static bool Parse(const std::string& text, JsonValue* value, std::string* error);

  Kind GetKind() const { return kind_; }
  bool IsObject() const { return kind_ == Kind::Object; }
  bool IsArray() const { return kind_ == Kind::Array; }
  bool Boolean() const { return boolean_; }
  double Number() const { return number_; }
  const std::string& String() const { return string_; }
  const std::vector<JsonValue>& Items() const { return items_; }
  // An object's members in the order the text gives them.
  const std::vector<std::pair<std::string, JsonValue>>& Members() const { return members_; }
  // The member called name, or null.
  const JsonValue* Find(const std::string& name) const;

 private:
  friend class JsonParser;
  Kind kind_ = Kind::Null;
  bool boolean_ = false;
  double number_ = 0;
  std::string string_;
  std::vector<JsonValue> items_;
  std::vector<std::pair<std::string, JsonValue>> members_;
};

}  // namespace webengine

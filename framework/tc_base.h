// The root of every class of the plug-in.
#pragma once

namespace tinyxml2 {
class XMLElement;
}

class __TCBase {
 public:
  __TCBase() = default;
  __TCBase(const __TCBase&) = delete;
  __TCBase& operator=(const __TCBase&) = delete;

  // Every concrete class answers its own name; the pointer identifies the class.
  virtual const char* ClassName() const { return "__TCBase"; }
  virtual ~__TCBase() = default;
  virtual bool IsSameClass(const __TCBase* other) const;
  virtual void SaveToXml(tinyxml2::XMLElement* element) const;
  virtual bool LoadFromXml(const tinyxml2::XMLElement* element);

  // A value the framework never reads; users of an object attach their data.
  void* GetUserValue() const { return userValue_; }
  void SetUserValue(void* value) { userValue_ = value; }

 private:
  void* userValue_ = nullptr;
};

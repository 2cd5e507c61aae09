// The UTF-16 text of a TCString as Windows wants it: never a null pointer.
#pragma once

#include "framework/tc_string.h"
#include "platform/win32.h"

inline LPCWSTR WideText(const TCString& text) {
  const char16_t* units = text.GetUTF16Pointer();
  return PlatformWide(units ? units : u"");
}

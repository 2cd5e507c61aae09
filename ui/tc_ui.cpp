#include "ui/tc_ui.h"

#include "framework/tc_string.h"
#include "platform/win32.h"
#include "ui/wide_text.h"

namespace {

bool messageBoxIdle = true;

// Holds the idle flag down for the life of one box.
class MessageBoxScope {
 public:
  MessageBoxScope() { messageBoxIdle = false; }
  ~MessageBoxScope() { messageBoxIdle = true; }
  MessageBoxScope(const MessageBoxScope&) = delete;
  MessageBoxScope& operator=(const MessageBoxScope&) = delete;
};

// 8-bit text as the TCString form; null stays null.
class NarrowText {
 public:
  explicit NarrowText(const char* text) : present_(text != nullptr) {
    if (text) string_.SetCString(text);
  }
  const TCString* Get() const { return present_ ? &string_ : nullptr; }

 private:
  bool present_;
  TCString string_;
};

}  // namespace

bool TCUI::IsMessageBoxIdle() { return messageBoxIdle; }

int TCUI::ShowBox(const TCString* text, const TCString* title, const char* defaultTitle, uint32_t type) const {
  if (!text) return 0;
  TCString shownTitle;
  if (title && !title->IsEmpty()) {
    shownTitle.SetString(title);
  } else {
    shownTitle.SetCString(defaultTitle);
  }
  TCString shownText;
  shownText.SetString(text);
  HWND active = GetActiveWindow();
  int answer = 0;
  {
    MessageBoxScope scope;
    answer = MessageBoxW(static_cast<HWND>(ownerWindow_), WideText(shownText), WideText(shownTitle), type);
  }
  // The box hands activation to its owner, the host's window; the window the
  // user was working in gets it back.
  if (active && IsWindow(active) && IsWindowEnabled(active)) SetActiveWindow(active);
  return answer;
}

void TCUI::AlertError(const TCString* text, const TCString* title) const {
  ShowBox(text, title, "Error", MB_ICONERROR | MB_OK);
}

void TCUI::AlertError(const char* text, const char* title) const {
  AlertError(NarrowText(text).Get(), NarrowText(title).Get());
}

int32_t TCUI::AskYesNo(const TCString* text, const TCString* title) const {
  switch (ShowBox(text, title, "Yes/No?", MB_YESNO)) {
    case IDYES:
      return kAnswerYes;
    case IDNO:
      return kAnswerNo;
    default:
      return kAnswerOther;
  }
}

int32_t TCUI::AskYesNo(const char* text, const char* title) const {
  return AskYesNo(NarrowText(text).Get(), NarrowText(title).Get());
}

void TCUI::AlertInfo(const TCString* text, const TCString* title) const {
  ShowBox(text, title, "Information", MB_ICONINFORMATION | MB_OK);
}

void TCUI::AlertInfo(const char* text, const char* title) const {
  AlertInfo(NarrowText(text).Get(), NarrowText(title).Get());
}

// The message-box service: every box the plug-in shows goes through it, owned
// by the host window that invoked the plug-in.
#pragma once

#include <cstdint>

#include "framework/tc_base.h"

class TCString;

class TCUI : public __TCBase {
 public:
  // Answers of AskYesNo.
  static constexpr int32_t kAnswerYes = 2;
  static constexpr int32_t kAnswerNo = 3;
  static constexpr int32_t kAnswerOther = 4;

  explicit TCUI(void* ownerWindow) : ownerWindow_(ownerWindow) {}
  const char* ClassName() const override { return "TCUI"; }

  void* GetOwnerWindow() const { return ownerWindow_; }

  // A null or empty title gives "Error", "Yes/No?" or "Information"; a null
  // text shows nothing.
  void AlertError(const TCString* text, const TCString* title) const;
  void AlertError(const char* text, const char* title) const;
  int32_t AskYesNo(const TCString* text, const TCString* title) const;
  int32_t AskYesNo(const char* text, const char* title) const;
  void AlertInfo(const TCString* text, const TCString* title) const;
  void AlertInfo(const char* text, const char* title) const;

  // False while one of our message boxes is on screen. Rolling windows up or
  // down is held back meanwhile, because the box itself changes activation.
  static bool IsMessageBoxIdle();

 private:
  // The MessageBoxW answer, or 0 when nothing was shown.
  int ShowBox(const TCString* text, const TCString* title, const char* defaultTitle, uint32_t type) const;

  void* ownerWindow_;
};

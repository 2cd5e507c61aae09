// A host document, known by its number.
#pragma once

#include <cstdint>

#include "framework/tc_base.h"

class TCDocument : public __TCBase {
 public:
  // The current document.
  TCDocument();
  explicit TCDocument(int16_t documentNumber) : documentNumber_(documentNumber) {}

  const char* ClassName() const override { return "TCDocument"; }
  // Another document object with the same number.
  bool IsSameClass(const __TCBase* other) const override;
  int16_t GetDocumentNumber() const { return documentNumber_; }
  void SetDocumentNumber(int16_t documentNumber) { documentNumber_ = documentNumber; }
  bool IsCurrent() const;

 private:
  int16_t documentNumber_;
};

#include "score/tc_part.h"

#include <cstring>

#include "shell/tx_api.h"

namespace {

constexpr int16_t kCurrentPart = -1;

}  // namespace

TCPart::TCPart(int16_t partNumber)
    : __TCNoInciOther(buffer_, sizeof(buffer_)),
      partNumber_(partNumber == kCurrentPart ? TX_GetCurrentPartID() : partNumber),
      documentNumber_(TX_GetCurrentOrbeltDocument()) {}

bool TCPart::IsSameClass(const __TCBase* other) const {
  if (!other || std::strcmp(other->ClassName(), ClassName()) != 0) return false;
  const auto* part = static_cast<const TCPart*>(other);
  return part->partNumber_ == partNumber_ && part->documentNumber_ == documentNumber_;
}

__TCBaseData* TCPart::CreateObject() const { return new TCPart(partNumber_); }

bool TCPart::IsInCurrentDocument() const { return documentNumber_ == TX_GetCurrentOrbeltDocument(); }

void TCPart::SwitchTo() {
  if (!IsInCurrentDocument() || IsSwitched()) return;
  previousPart_ = TX_GetCurrentPartID();
  TX_SetCurrentPartID(partNumber_);
}

void TCPart::SwitchBack() {
  if (!IsSwitched() || !IsInCurrentDocument()) return;
  TX_SetCurrentPartID(previousPart_);
  previousPart_ = kNotSwitched;
}

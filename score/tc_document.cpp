#include "score/tc_document.h"

#include <cstring>

#include "shell/tx_api.h"

TCDocument::TCDocument() : documentNumber_(TX_GetCurrentOrbeltDocument()) {}

bool TCDocument::IsSameClass(const __TCBase* other) const {
  if (!other || std::strcmp(other->ClassName(), ClassName()) != 0) return false;
  return static_cast<const TCDocument*>(other)->documentNumber_ == documentNumber_;
}

bool TCDocument::IsCurrent() const { return documentNumber_ == TX_GetCurrentOrbeltDocument(); }

#include "analysis/tc_undo_block.h"

#include "framework/tc_string.h"
#include "shell/host_version.h"
#include "shell/tx_api.h"

namespace {

bool StartEdit(const TCString& name) {
  // Hosts before the 2011 interface know only 8-bit edit names.
  if (!HostReaches(kHostVersion2011)) return TX_StartTavrelEdit(name.GetCString()) != 0;
  const char16_t* units = name.GetUTF16Pointer();
  return TX_StartTavrelEdit_UTF16(units ? units : u"") != 0;
}

// Cuts the name to the host's limit without splitting a surrogate pair, so
// the host never receives half a character.
void CutEditName(TCString* name) {
  const int32_t limit = TCUndoBlock::kMaxEditNameLength;
  if (name->GetLength() <= static_cast<uint32_t>(limit)) return;
  char16_t last = name->GetCharAt(limit - 1);
  int32_t keep = (last >= 0xD800 && last <= 0xDBFF) ? limit - 1 : limit;
  name->RemoveAt(keep, static_cast<int32_t>(name->GetLength()) - keep);
}

}  // namespace

bool TCUndoBlock::ExecuteHandler(__TCUndoBlockHandler* handler, const TCString* name) {
  if (!handler || !name) return false;
  handler->SetUndoBlock(this);

  TCString editName;
  editName.SetString(name);
  CutEditName(&editName);
  bool started = StartEdit(editName);
  if (!started) handler->SetUndoBlock(nullptr);

  active_ = true;
  bool succeeded = handler->Execute();
  active_ = false;

  // An edit the host refused is not ours to end or cancel: doing so would
  // close the edit around it, if there is one.
  if (!started) {
    TXForgetRefusedEdit();
  } else if (succeeded) {
    TX_EndTavrelEdit();
  } else {
    TX_CancelTavrelEdit();
  }
  handler->SetUndoBlock(nullptr);
  return succeeded;
}

bool TCUndoBlock::ExecuteHandler(__TCUndoBlockHandler* handler, const char* name) {
  if (!name) return false;
  TCString text(name);
  return ExecuteHandler(handler, &text);
}

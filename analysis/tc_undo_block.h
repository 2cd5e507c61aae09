// Work that runs as one named host edit: committed when the work succeeds,
// cancelled when it fails.
#pragma once

#include "framework/tc_base.h"

class TCString;
class TCUndoBlock;

// The base of every piece of work that runs in an undo block.
class __TCUndoBlockHandler : public __TCBase {
 public:
  const char* ClassName() const override { return "__TCUndoBlockHandler"; }
  // true: the work succeeded and its edit is committed.
  virtual bool Execute() = 0;

  // The block that runs the handler; null outside a run, and null during a
  // run whose edit the host refused to start.
  TCUndoBlock* GetUndoBlock() const { return undoBlock_; }
  void SetUndoBlock(TCUndoBlock* block) { undoBlock_ = block; }

 private:
  TCUndoBlock* undoBlock_ = nullptr;
};

class TCUndoBlock : public __TCBase {
 public:
  // The host keeps edit names of at most this many characters.
  static constexpr int kMaxEditNameLength = 63;

  const char* ClassName() const override { return "TCUndoBlock"; }

  // Runs the handler as one host edit and answers the handler's result; false
  // without running anything when the handler or the name is missing. A host
  // that refuses to start the edit does not stop the handler.
  bool ExecuteHandler(__TCUndoBlockHandler* handler, const TCString* name);
  bool ExecuteHandler(__TCUndoBlockHandler* handler, const char* name);

  bool IsActive() const { return active_; }

 private:
  bool active_ = false;
};

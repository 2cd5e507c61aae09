// The host's edits: those the plug-in has open, those it ended or cancelled,
// and the undo history that each document keeps of its committed edits.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "headless/document_snapshot.h"

namespace headless {

class HeadlessHost;

class EditHistory {
 public:
  explicit EditHistory(HeadlessHost& host) : host_(host) {}

  // Opens an edit of the current document; false without one.
  bool Start(const char* utf8Name);
  // Closes the innermost open edit. The outermost edit of its document
  // becomes a step of that document's undo history.
  bool End();
  // Closes the innermost open edit and puts its document back as it was when
  // the edit started.
  bool Cancel();

  // Names of the committed outermost edits of the current document, oldest first.
  std::vector<std::string> UndoHistory() const;
  // Restores the current document to before its last committed edit and drops it from the history.
  bool Undo();
  // Edits started and not yet ended or cancelled.
  int OpenCount() const { return static_cast<int>(open_.size()); }
  // Names of the cancelled edits (any level), in order.
  const std::vector<std::string>& Cancelled() const { return cancelled_; }
  // Names of every edit ended (any level), in order.
  const std::vector<std::string>& Ended() const { return ended_; }

  // No open, ended or cancelled edits (the documents keep their undo history).
  void Clear();

 private:
  struct OpenEdit {
    int16_t document;
    std::string name;
    DocumentSnapshot before;
  };

  HeadlessHost& host_;
  std::vector<OpenEdit> open_;
  std::vector<std::string> cancelled_;
  std::vector<std::string> ended_;
};

}  // namespace headless

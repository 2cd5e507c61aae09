#include "headless/edit_history.h"

#include "headless/document.h"
#include "headless/headless_host.h"

namespace headless {

bool EditHistory::Start(const char* utf8Name) {
  Document* document = host_.CurrentDocumentData();
  if (!document) return false;
  open_.push_back(OpenEdit{document->Id(), utf8Name ? utf8Name : "", DocumentSnapshot(document->content)});
  return true;
}

bool EditHistory::End() {
  if (open_.empty()) return false;
  OpenEdit edit = open_.back();
  open_.pop_back();
  ended_.push_back(edit.name);
  bool outermost = true;
  for (const OpenEdit& open : open_) {
    if (open.document == edit.document) outermost = false;
  }
  Document* document = host_.DocumentData(edit.document);
  if (outermost && document) document->undoHistory.push_back(Document::UndoStep{edit.name, edit.before});
  return true;
}

bool EditHistory::Cancel() {
  if (open_.empty()) return false;
  OpenEdit edit = open_.back();
  open_.pop_back();
  cancelled_.push_back(edit.name);
  Document* document = host_.DocumentData(edit.document);
  if (!document || !edit.before.Content()) return false;
  document->content = *edit.before.Content();
  if (!document->content.HasPart(document->currentPart)) document->currentPart = 0;
  return true;
}

std::vector<std::string> EditHistory::UndoHistory() const {
  std::vector<std::string> names;
  if (const Document* document = host_.CurrentDocumentData()) {
    for (const Document::UndoStep& step : document->undoHistory) names.push_back(step.name);
  }
  return names;
}

bool EditHistory::Undo() {
  Document* document = host_.CurrentDocumentData();
  if (!document || document->undoHistory.empty()) return false;
  if (!host_.Restore(document->undoHistory.back().before)) return false;
  document->undoHistory.pop_back();
  return true;
}

void EditHistory::Clear() {
  open_.clear();
  cancelled_.clear();
  ended_.clear();
}

}  // namespace headless

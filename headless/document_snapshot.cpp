#include "headless/document_snapshot.h"

#include <vector>

#include "headless/document.h"

namespace headless {

DocumentSnapshot::DocumentSnapshot() = default;

DocumentSnapshot::DocumentSnapshot(const DocumentContent& content)
    : content_(std::make_shared<const DocumentContent>(content)) {}

DocumentSnapshot::DocumentSnapshot(const DocumentSnapshot& other) = default;
DocumentSnapshot& DocumentSnapshot::operator=(const DocumentSnapshot& other) = default;
DocumentSnapshot::~DocumentSnapshot() = default;

bool DocumentSnapshot::operator==(const DocumentSnapshot& other) const {
  if (!content_ || !other.content_) return !content_ && !other.content_;
  return content_ == other.content_ || *content_ == *other.content_;
}

std::string DocumentSnapshot::Diff(const DocumentSnapshot& before, const DocumentSnapshot& after) {
  if (!before.content_ || !after.content_) {
    return before.content_ == after.content_ ? std::string() : std::string("one snapshot is empty\n");
  }
  std::vector<std::string> lines;
  before.content_->Diff(*after.content_, &lines);
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

}  // namespace headless

// A copy of the whole content of one document (every record byte, every
// entry byte, parts, layout, source tags) that tests compare for exact
// equality and that edits put back on cancel and undo.
#pragma once

#include <memory>
#include <string>

namespace headless {

class DocumentContent;

class DocumentSnapshot {
 public:
  DocumentSnapshot();
  explicit DocumentSnapshot(const DocumentContent& content);
  DocumentSnapshot(const DocumentSnapshot& other);
  DocumentSnapshot& operator=(const DocumentSnapshot& other);
  ~DocumentSnapshot();

  bool IsEmpty() const { return !content_; }
  const DocumentContent* Content() const { return content_.get(); }

  bool operator==(const DocumentSnapshot& other) const;
  bool operator!=(const DocumentSnapshot& other) const { return !(*this == other); }

  // The differences between two snapshots in readable lines ("" when equal),
  // for failing tests: EXPECT_EQ(before, after) << DocumentSnapshot::Diff(before, after).
  static std::string Diff(const DocumentSnapshot& before, const DocumentSnapshot& after);

 private:
  std::shared_ptr<const DocumentContent> content_;
};

}  // namespace headless

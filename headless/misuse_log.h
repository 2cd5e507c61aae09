// Misuse of the plug-in API that the host noticed, kept for tests to read.
#pragma once

#include <string>
#include <vector>

namespace headless {

class MisuseLog {
 public:
  // Misuse of frames and metrics: freeing an unknown frame or one freed
  // before, saving a freed or unknown frame, a damaged frame header, freeing
  // unknown metrics, loading metrics into a buffer still holding some.
  const std::vector<std::string>& FrameErrors() const { return frameErrors_; }
  // Other misuse of the API: a wrong layout version for a record, a wrong
  // interface version, a wrong folder kind, ending an edit that is not open.
  const std::vector<std::string>& CallErrors() const { return callErrors_; }
  void ReportFrameError(const std::string& text) { frameErrors_.push_back(text); }
  void ReportCallError(const std::string& text) { callErrors_.push_back(text); }
  // Also for tests that provoke misuse on purpose.
  void Clear() {
    frameErrors_.clear();
    callErrors_.clear();
  }

 private:
  std::vector<std::string> frameErrors_;
  std::vector<std::string> callErrors_;
};

}  // namespace headless

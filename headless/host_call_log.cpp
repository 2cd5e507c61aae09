#include "headless/host_call_log.h"

#include <algorithm>

namespace headless {

int HostCallLog::Count(const char* name) const {
  return static_cast<int>(
      std::count_if(calls_.begin(), calls_.end(), [name](const HostCall& call) { return call.name == name; }));
}

std::vector<HostCall> HostCallLog::Named(const char* name) const {
  std::vector<HostCall> calls;
  for (const HostCall& call : calls_) {
    if (call.name == name) calls.push_back(call);
  }
  return calls;
}

void HostCallLog::Log(HostCall call) {
  if (enabled_) calls_.push_back(std::move(call));
}

void HostCallLog::Reset() {
  calls_.clear();
  enabled_ = true;
}

}  // namespace headless

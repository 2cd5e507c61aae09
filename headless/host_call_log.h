// Every host function call the plug-in made, for tests that check what was asked.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace headless {

// One host function call: its export name, its integer arguments in order
// without the trailing interface version (pointers as their address, doubles
// truncated), and its text argument, if any, as UTF-8. Record calls
// (TX_LoadEData ...) log the tag, the address as its three numbers, the size
// (for TX_LoadEData the size asked for) and the layout version;
// TX_SetCurERegion logs start slot, measure, position, end slot, measure, position.
struct HostCall {
  std::string name;
  std::vector<int64_t> arguments;
  std::string text;
};

class HostCallLog {
 public:
  const std::vector<HostCall>& Calls() const { return calls_; }
  void Clear() { calls_.clear(); }
  int Count(const char* name) const;
  // The calls of one function, in order.
  std::vector<HostCall> Named(const char* name) const;
  // Logging can be turned off for long runs (rzacc); on after the host's Reset.
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  bool IsEnabled() const { return enabled_; }
  void Log(HostCall call);
  // Empty and logging.
  void Reset();

 private:
  std::vector<HostCall> calls_;
  bool enabled_ = true;
};

}  // namespace headless

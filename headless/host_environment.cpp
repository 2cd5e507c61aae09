#include "headless/host_environment.h"

namespace headless {

void HostEnvironment::SetWindowInfo(int16_t pageView, int16_t zoom, bool answer) {
  pageView_ = pageView;
  zoom_ = zoom;
  windowInfoAnswers_ = answer;
}

void HostEnvironment::Reset() { *this = HostEnvironment(); }

}  // namespace headless

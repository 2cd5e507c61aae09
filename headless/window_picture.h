// What a window shows on screen, saved as a 24-bit BMP picture (Windows only).
#pragma once

#include <string>

namespace headless {

// False when the window has no area or the file cannot be written.
bool SaveWindowPicture(void* window, const std::string& path);

}  // namespace headless

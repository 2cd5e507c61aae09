// The exported host functions as a table of names and addresses, for the
// module registration on Linux.
#pragma once

#ifndef _WIN32

#include <cstddef>

#include "platform/module_registry.h"

namespace headless {

const PlatformExport* HeadlessExportTable(size_t* count);

}  // namespace headless

#endif

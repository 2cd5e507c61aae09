// Windows and its common controls, in the order their headers need.
#pragma once

#include "platform/win32.h"

#include <commctrl.h>

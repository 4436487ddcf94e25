// Wine's synchapi.h needs the base types of windows.h, which the Windows SDK's brings itself.
#pragma once
#include <windows.h>

#include_next <synchapi.h>

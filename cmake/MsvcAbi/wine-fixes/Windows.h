// The STL's sources spell the Win32 header with a capital W, as Windows' case-blind file system
// allows; Wine's is windows.h.
#pragma once
#include <windows.h>

// The Universal C runtime's header of terminate and its handler: Wine declares them in eh.h.
#pragma once
#include <eh.h>

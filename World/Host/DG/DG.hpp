#pragma once

// Everything an add-on uses of the host's dialog library.
#include "DGAlert.hpp"
#include "DGEvents.hpp"
#include "DGItem.hpp"
#include "DGObservers.hpp"
#include "DGPanel.hpp"
#include "DGTypes.hpp"
#include "DGUserData.hpp"

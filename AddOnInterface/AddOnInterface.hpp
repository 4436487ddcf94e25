#pragma once

// Everything the host and an add-on agree on at the binary level.
#include "AddOnToken.hpp"
#include "CallingConvention.hpp"
#include "DescriptionRecord.hpp"
#include "EntryPointRecord.hpp"
#include "HostFunctionTable.hpp"
#include "MenuRecords.hpp"
#include "SaveRecords.hpp"

#pragma once

#include "UniString.hpp"

#include <optional>

// The SAF translator chosen for export, kept in the open project as the add-on object named
// TranslatorObjectName. Its content is the host channel's serialization of one GS::UniString. Nothing
// is kept in memory: every read asks the project and every write replaces the project's copy.

// The stored name; absent when no object is stored or finding or reading it failed. A present name
// may be empty. Content that is not a serialized string reads as whatever the channel made of it.
std::optional<GS::UniString> ReadTranslatorName();

// Creates the object on the first write in a project and modifies it afterwards. True when the host
// stored the name; false when any step failed (when the host cannot even say whether the object
// exists, nothing is written), so that the caller can tell the user.
[[nodiscard]] bool WriteTranslatorName(const GS::UniString& name);

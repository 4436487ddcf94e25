#pragma once

// The host's handle on one started add-on: given to AddOnStart, passed first to every host table
// operation except HostMenuRegister. Opaque to the add-on; null before start and after release.
struct AddOnTokenTag;
using AddOnToken = AddOnTokenTag*;

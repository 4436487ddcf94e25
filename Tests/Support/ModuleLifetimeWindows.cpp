// Linked into the Windows test programs that play the add-on module: the C runtime calls DllMain
// only for a DLL, so the program runs the module's load step itself once every static object (the
// module constants among them) exists, and its unload step after the last test, as the loader would.
#include "AddOnMain.hpp"

#include <gtest/gtest.h>

namespace {

class ModuleLifetime : public ::testing::Environment {
public:
    void SetUp() override { DllMain(::GetModuleHandleW(nullptr), DLL_PROCESS_ATTACH, nullptr); }
    void TearDown() override { DllMain(::GetModuleHandleW(nullptr), DLL_PROCESS_DETACH, nullptr); }
};

// GoogleTest owns and runs the environment; registering it here keeps the tests' own mains untouched.
[[maybe_unused]] ::testing::Environment* const moduleLifetime =
    ::testing::AddGlobalTestEnvironment(new ModuleLifetime);

} // namespace

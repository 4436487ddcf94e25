#include "RSTestModules.hpp"

#include <gtest/gtest.h>

#include <dlfcn.h>

namespace {

using RSTest::Text;

TEST(RSModuleLoading, ModuleOpensItsResourcesWhileLoadingAndRemovesThemAtUnload) {
    void* handle = ::dlopen(SELF_OPENING_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << ::dlerror();
    const auto opened = reinterpret_cast<GSResModule (*)()>(::dlsym(handle, "SelfOpenedResourceModule"));
    ASSERT_NE(opened, nullptr);
    const GSResModule module = opened();
    ASSERT_GE(module, 1);
    EXPECT_EQ(Text(module, 32300, 8), "Select translator");
    EXPECT_EQ(Text(module, 32600, 2), "Open in VELD Engineer...");

    ASSERT_EQ(::dlclose(handle), 0);
    EXPECT_EQ(Text(module, 32300, 8), "");
}

} // namespace

// The module stays mapped once loaded: a worker thread may outlive the host's
// hold on it.
#include <gtest/gtest.h>

#include <dlfcn.h>

namespace {

TEST(ModuleUnloadTest, ModuleStaysLoadedAfterTheHostUnloadsIt) {
    void* module = dlopen(XLOOP_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << dlerror();
    ASSERT_NE(dlsym(module, "InitializeVEQ"), nullptr);
    ASSERT_EQ(dlclose(module), 0);

    void* stillThere = dlopen(XLOOP_MODULE_PATH, RTLD_NOW | RTLD_NOLOAD);
    EXPECT_NE(stillThere, nullptr);
    if (stillThere != nullptr) dlclose(stillThere);
}

}  // namespace

// A host may unload the module while one of its worker threads still runs.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

using StartBusyWorker = void (*)(int milliseconds, std::atomic<int>* finished);

#if defined(_WIN32)
void* loadModule(const char* path) { return LoadLibraryA(path); }
void* findExport(void* module, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}
void unloadModule(void* module) { FreeLibrary(static_cast<HMODULE>(module)); }
bool isLoaded(const char* path) { return GetModuleHandleA(path) != nullptr; }
#else
void* loadModule(const char* path) { return dlopen(path, RTLD_NOW | RTLD_LOCAL); }
void* findExport(void* module, const char* name) { return dlsym(module, name); }
void unloadModule(void* module) { dlclose(module); }
bool isLoaded(const char* path) {
    void* module = dlopen(path, RTLD_NOW | RTLD_NOLOAD);
    if (module != nullptr) dlclose(module);
    return module != nullptr;
}
#endif

TEST(ModuleUnloadTest, WorkerFinishesAfterTheHostUnloadsTheModule) {
    void* module = loadModule(XLOOP_UNLOAD_PROBE_PATH);
    ASSERT_NE(module, nullptr);
    auto start = reinterpret_cast<StartBusyWorker>(findExport(module, "StartBusyWorker"));
    ASSERT_NE(start, nullptr);

    std::atomic<int> finished{0};
    start(200, &finished);
    unloadModule(module);
    EXPECT_TRUE(isLoaded(XLOOP_UNLOAD_PROBE_PATH));  // the worker still holds it

    while (finished.load() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
#if defined(_WIN32)
    // The worker's own reference goes with its thread; then the module leaves.
    for (int i = 0; i < 2000 && isLoaded(XLOOP_UNLOAD_PROBE_PATH); ++i) Sleep(5);
    EXPECT_FALSE(isLoaded(XLOOP_UNLOAD_PROBE_PATH));
#else
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // let the thread end
#endif
}

}  // namespace

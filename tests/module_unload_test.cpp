// A host may unload the module while one of its worker threads still runs.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

using StartBusyWorker = void (*)(int milliseconds, std::atomic<int>* finished);
using ProbeCall = void (*)();
using ProbePostUiTask = void (*)(std::atomic<int>* runs);

#if defined(_WIN32)
void* loadModule(const char* path) { return LoadLibraryA(path); }
void* findExport(void* module, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}
void unloadModule(void* module) { FreeLibrary(static_cast<HMODULE>(module)); }
bool isLoaded(const char* path) { return GetModuleHandleA(path) != nullptr; }

// Keeps the address range of an unloaded module taken, so that the next load
// of it must go elsewhere.
class AddressBlock {
public:
    explicit AddressBlock(void* module) {
        auto* image = static_cast<unsigned char*>(module);
        auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(image);
        auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(image + dos->e_lfanew);
        base = image;
        size = nt->OptionalHeader.SizeOfImage;
    }
    void take() { taken = VirtualAlloc(base, size, MEM_RESERVE, PAGE_NOACCESS); }
    ~AddressBlock() {
        if (taken != nullptr) VirtualFree(taken, 0, MEM_RELEASE);
    }
    void* start() const { return base; }

private:
    void* base;
    size_t size;
    void* taken = nullptr;
};
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

// A host may unload the module after shutting it down and load it again: the
// second life has a working UI-thread queue. On Windows the second image is
// made to load at another address, where a window class left behind by the
// first would call into unmapped code.
TEST(ModuleUnloadTest, ReloadedModuleRunsUiTasksAgain) {
    std::atomic<int> runs{0};
#if defined(_WIN32)
    std::unique_ptr<AddressBlock> firstImage;
#endif
    for (int life = 0; life < 2; ++life) {
        void* module = loadModule(XLOOP_UNLOAD_PROBE_PATH);
        ASSERT_NE(module, nullptr);
#if defined(_WIN32)
        if (life == 0) firstImage = std::make_unique<AddressBlock>(module);
#endif
        auto initialize = reinterpret_cast<ProbeCall>(findExport(module, "ProbeInitialize"));
        auto post = reinterpret_cast<ProbePostUiTask>(findExport(module, "ProbePostUiTask"));
        auto runTasks = reinterpret_cast<ProbeCall>(findExport(module, "ProbeRunUiTasks"));
        auto shutDown = reinterpret_cast<ProbeCall>(findExport(module, "ProbeShutDown"));
        ASSERT_TRUE(initialize && post && runTasks && shutDown);

        initialize();
        post(&runs);
        for (int i = 0; i < 2000 && runs.load() == life; ++i) {
            runTasks();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        EXPECT_EQ(runs.load(), life + 1);
        shutDown();
        unloadModule(module);
#if defined(_WIN32)
        EXPECT_FALSE(isLoaded(XLOOP_UNLOAD_PROBE_PATH));
        if (life == 0) {
            firstImage->take();
        } else {
            EXPECT_NE(module, firstImage->start());
        }
#endif
    }
}

}  // namespace

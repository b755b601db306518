/*
 * The browser library's classes for a module built by g++ (mingw-w64) that
 * calls a library built with Microsoft's compiler. Included by veq_browser.h;
 * code above keeps writing ordinary C++ against the same names.
 *
 * Where the two C++ ABIs differ, and how each is met here:
 *  - A virtual destructor takes one slot in Microsoft's layout (the scalar
 *    deleting destructor, taking flags: bit 0 also frees the memory) and two
 *    in g++'s. Slot 0 is therefore an explicit `scalarDeletingDestructor`,
 *    and the callback interfaces declare their real virtual destructor last,
 *    so that its two g++ slots follow every slot the library knows.
 *  - std::shared_ptr passed by value is, in Microsoft's ABI, a 16-byte
 *    {element, control block} that the caller builds in a temporary and
 *    passes by address, and that the callee destroys. Our std::shared_ptr has
 *    another layout, so the page-load handler crosses as a `SharedReference`
 *    whose control block (`RefCountBase`, laid out like Microsoft's
 *    std::_Ref_count_base) holds our shared_ptr until the library lets go.
 *  - Memory the library frees belongs to its runtime's heap, the process heap:
 *    reply texts are allocated there (see JSActionHandler).
 */
#ifndef XLOOP_VEQ_BROWSER_MSVC_ABI_H
#define XLOOP_VEQ_BROWSER_MSVC_ABI_H

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>

struct BrowserClient;

namespace VEQ {
namespace msvc {

/* Slot 0 of an object the library may delete: run the (virtual) destructor,
 * and free the memory when bit 0 of flags says so. */
template <class Interface>
void* destroyAsLibraryAsks(Interface* self, unsigned flags) {
    if (flags & 1u) {
        delete self;
    } else {
        self->~Interface();
    }
    return self;
}

/* std::_Ref_count_base: _Destroy, _Delete_this, the destructor, _Get_deleter,
 * then the use and weak counts, both starting at 1. The library copies a
 * reference by incrementing uses; its last release of uses calls
 * destroyManaged() and then drops one weak, whose last release calls
 * deleteThis(). */
class RefCountBase {
public:
    virtual void destroyManaged() noexcept = 0;
    virtual void deleteThis() noexcept = 0;
    virtual void* scalarDeletingDestructor(unsigned flags) noexcept {
        if (flags & 1u) deleteThis();
        return this;
    }
    virtual void* getDeleter(const void* /*typeInfo*/) const noexcept { return nullptr; }

    std::atomic<uint32_t> uses{1};
    std::atomic<uint32_t> weaks{1};

protected:
    RefCountBase() = default;
    ~RefCountBase() = default;
};

/* Keeps one of our shared_ptrs alive for as long as the library holds the
 * reference made from it. */
template <class T>
class SharedPtrKeeper final : public RefCountBase {
public:
    explicit SharedPtrKeeper(std::shared_ptr<T> kept) : kept(std::move(kept)) {}

private:
    void destroyManaged() noexcept override { kept.reset(); }
    void deleteThis() noexcept override { delete this; }

    std::shared_ptr<T> kept;
};

/* std::shared_ptr<T> as Microsoft's library lays it out. */
template <class T>
struct SharedReference {
    T* element;
    RefCountBase* control;
};

/* A reference for the library holding its own share of `shared`. */
template <class T>
SharedReference<T> shareWithLibrary(std::shared_ptr<T> shared) {
    T* element = shared.get();
    RefCountBase* control = shared ? new SharedPtrKeeper<T>(std::move(shared)) : nullptr;
    return {element, control};
}

static_assert(sizeof(SharedReference<int>) == 16, "element pointer, then control block");
static_assert(sizeof(RefCountBase) == 16, "vtable pointer, then two 32-bit counts");

}  // namespace msvc

class IPageLoadHandler {
public:
    virtual void* scalarDeletingDestructor(unsigned flags) {   /* slot 0 */
        return msvc::destroyAsLibraryAsks(this, flags);
    }
    virtual void onLoadFinished(const char* url) = 0;          /* slot 1 */
    virtual void onLoadStarted(const char* url) = 0;           /* slot 2 */
    virtual void onLoadFailed(const char* url) = 0;            /* slot 3 */
    virtual ~IPageLoadHandler() = default;                     /* g++ only, after the library's */
};

class DestroyNotifier {
public:
    virtual void* scalarDeletingDestructor(unsigned flags) {   /* slot 0 */
        return msvc::destroyAsLibraryAsks(this, flags);
    }
    virtual void onDestroy(BrowserClient* client) = 0;         /* slot 1 */
    virtual ~DestroyNotifier() = default;                      /* g++ only, after the library's */
};

class JSActionHandler {
public:
    virtual void* scalarDeletingDestructor(unsigned flags) {   /* slot 0 */
        return msvc::destroyAsLibraryAsks(this, flags);
    }
    /* Always stores in *result a text from the process heap. */
    virtual void handleAction(const char* actionName, const char* argument,
                              char** result) = 0;              /* slot 1 */
    virtual ~JSActionHandler() = default;                      /* g++ only, after the library's */
};

}  // namespace VEQ

/* Only the library creates and deletes clients; the module never calls slot 0. */
struct BrowserClient {
    virtual void* scalarDeletingDestructor(unsigned flags) = 0;          /* slot 0 */
    virtual void reservedSlot1() = 0;                                     /* slot 1 */
    virtual void reservedSlot2() = 0;                                     /* slot 2 */
    virtual void reservedSlot3() = 0;                                     /* slot 3 */
    virtual void reservedSlot4() = 0;                                     /* slot 4 */
    virtual void reservedSlot5() = 0;                                     /* slot 5 */
    virtual void reservedSlot6() = 0;                                     /* slot 6 */
    virtual bool setUserData(const char* key, void* value) = 0;           /* slot 7 */
    virtual void* getUserData(const char* key) = 0;                       /* slot 8 */
    virtual void reservedSlot9() = 0;                                     /* slot 9 */
    virtual void reservedSlot10() = 0;                                    /* slot 10 */
    virtual bool registerActionHandler(const char* actionName,
                                       VEQ::JSActionHandler* handler) = 0; /* slot 11 */
    virtual void reservedSlot12() = 0;                                    /* slot 12 */
    /* The by-value shared_ptr of the library's signature: the address of a
     * reference that the library takes over and releases. */
    virtual bool setPageLoadHandlerByAddress(
        VEQ::msvc::SharedReference<VEQ::IPageLoadHandler>* handler) = 0;  /* slot 13 */
    virtual void executeScript(const char* script) = 0;                   /* slot 14 */
    virtual void reservedSlot15() = 0;                                    /* slot 15 */
    virtual void loadURL(const char* url) = 0;                            /* slot 16 */
    virtual void reservedSlot17() = 0;                                    /* slot 17 */
    virtual void setPageBusy(bool busy) = 0;                              /* slot 18 */
    virtual bool setDestroyNotifier(VEQ::DestroyNotifier* notifier) = 0;  /* slot 19 */

    bool setPageLoadHandler(std::shared_ptr<VEQ::IPageLoadHandler> handler) {
        auto reference = VEQ::msvc::shareWithLibrary(std::move(handler));
        return setPageLoadHandlerByAddress(&reference);
    }

protected:
    ~BrowserClient() = default;
};

#endif /* XLOOP_VEQ_BROWSER_MSVC_ABI_H */

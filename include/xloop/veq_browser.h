/*
 * The embedded browser library (VEQPod) as this module sees it: the init
 * record, the client object, the callback interfaces the module implements
 * and the five functions it imports.
 *
 * The library is a closed component built with Microsoft's compiler, and its
 * C++ interface is fixed by virtual slot number in that compiler's layout,
 * where a virtual destructor takes one slot. Placeholders stand for slots the
 * module never calls so that every later slot keeps its number. The plain
 * declarations below are that layout for Microsoft's compiler (and the native
 * layout elsewhere); g++ for Windows gets the same classes in an explicit
 * form from veq_browser_msvc_abi.h.
 *
 * Types the library leaves open, chosen here:
 *  - the host's pass-through values (InitializeBrowser's argument and the two
 *    host arguments of client creation) are pointer-sized `void*`;
 *  - InitializeBrowser, ShutdownBrowser, VEQSetIsLibShared and
 *    UpdateBrowserClientZoomScale return an `int` status that the module
 *    hands back to the host untouched;
 *  - VEQSetIsLibShared takes an `int` flag, UpdateBrowserClientZoomScale the
 *    client and a `double` scale.
 *
 * Ownership across the boundary:
 *  - a reply text stored by JSActionHandler::handleAction belongs to the
 *    library, which frees it with its runtime's operator delete: on Windows
 *    that runtime's heap is the process heap, so the text is allocated there
 *    (HeapAlloc on GetProcessHeap()); elsewhere with the global operator new;
 *  - each room browser gets a DestroyNotifier of its own, made with the
 *    module's operator new. The library may delete it after onDestroy,
 *    through its virtual destructor (slot 0 with the delete flag), or never:
 *    ShutDownVEQ deletes, once ShutdownBrowser has returned, every notifier
 *    the library left. A library that never deletes them thus keeps one small
 *    object (some 50 bytes with its entry in the module's list) per room
 *    browser destroyed, until ShutDownVEQ;
 *  - the library never deletes a JSActionHandler: the module owns them;
 *  - the page-load handler is shared: the library keeps its own reference.
 */
#ifndef XLOOP_VEQ_BROWSER_H
#define XLOOP_VEQ_BROWSER_H

#include <stdint.h>

#ifdef __cplusplus
#include <memory>
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Creation record for a browser client; valid only for the creating call. */
typedef struct BrowserInitData {
    const char* initialURL;
    const char* initialText;
    uint32_t initValue1;
    uint32_t initValue2;
    uint32_t initValue3;
} BrowserInitData;

#ifdef __cplusplus
} /* extern "C" */

struct BrowserClient;

#if defined(_WIN32) && !defined(_MSC_VER)
#include "veq_browser_msvc_abi.h"
#else
namespace VEQ {

class IPageLoadHandler {
public:
    virtual ~IPageLoadHandler() = default;                /* slot 0 */
    virtual void onLoadFinished(const char* url) = 0;     /* slot 1 */
    virtual void onLoadStarted(const char* url) = 0;      /* slot 2 */
    virtual void onLoadFailed(const char* url) = 0;       /* slot 3 */
};

class DestroyNotifier {
public:
    virtual ~DestroyNotifier() = default;                 /* slot 0 */
    virtual void onDestroy(BrowserClient* client) = 0;    /* slot 1 */
};

class JSActionHandler {
public:
    virtual ~JSActionHandler() = default;                 /* slot 0 */
    /* Always stores in *result a text for the library to free (see above). */
    virtual void handleAction(const char* actionName, const char* argument,
                              char** result) = 0;         /* slot 1 */
};

} /* namespace VEQ */

struct BrowserClient {
    virtual ~BrowserClient() = default;                                   /* slot 0 */
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
    virtual bool setPageLoadHandler(
        std::shared_ptr<VEQ::IPageLoadHandler> handler) = 0;              /* slot 13 */
    virtual void executeScript(const char* script) = 0;                   /* slot 14 */
    virtual void reservedSlot15() = 0;                                    /* slot 15 */
    virtual void loadURL(const char* url) = 0;                            /* slot 16 */
    virtual void reservedSlot17() = 0;                                    /* slot 17 */
    virtual void setPageBusy(bool busy) = 0;                              /* slot 18 */
    virtual bool setDestroyNotifier(VEQ::DestroyNotifier* notifier) = 0;  /* slot 19 */
};
#endif

extern "C" {
#else
typedef struct BrowserClient BrowserClient;
#endif /* __cplusplus */

#if defined(_WIN32) && defined(VEQPOD_BUILDING_LIBRARY)
#define VEQPOD_API __declspec(dllexport)
#elif defined(_WIN32)
#define VEQPOD_API __declspec(dllimport)
#else
#define VEQPOD_API __attribute__((visibility("default")))
#endif

VEQPOD_API int InitializeBrowser(void* hostValue);
VEQPOD_API int ShutdownBrowser(void);
VEQPOD_API BrowserClient* CreateBrowserClientWithInitData(void* hostArg1, void* hostArg2,
                                                             int32_t version,
                                                             BrowserInitData* initData);
VEQPOD_API int UpdateBrowserClientZoomScale(BrowserClient* client, double zoomScale);
VEQPOD_API int VEQSetIsLibShared(int isShared);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* XLOOP_VEQ_BROWSER_H */

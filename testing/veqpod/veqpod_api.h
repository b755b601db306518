/*
 * Test control of the stand-in browser library: what the module asked of it,
 * and the events a real browser would raise. Plain C, because the Windows
 * stand-in is built in Microsoft's C++ ABI and the tests in another. For the
 * thread that drives the browser (the host's UI thread in tests).
 */
#ifndef XLOOP_TESTING_VEQPOD_API_H
#define XLOOP_TESTING_VEQPOD_API_H

#include "xloop/veq_browser.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct VeqpodRecord {
    int initializeCalls;
    void* lastInitializeValue;
    int shutdownCalls;
    int lastSharedFlag;
    double lastZoomScale;
    int creationCount;
} VeqpodRecord;

/* Texts are the stand-in's copies, kept until veqpodReset. */
typedef struct VeqpodCreation {
    void* hostArg1;
    void* hostArg2;
    int32_t version;
    const char* initialURL;
    const char* initialText;
    uint32_t initValues[3];
} VeqpodCreation;

/* Behaviours a real library may choose where the interface leaves the choice
 * open; each one on only for the tests that ask for it. */
enum {
    /* Destroying a client drops its page-load handler reference first, and
     * deletes the destroy notifier (memory included) after onDestroy. */
    VEQPOD_DELETES_NOTIFIERS = 1,
    /* loadURL reports the load started and finished before it returns. */
    VEQPOD_LOADS_WITHIN_LOADURL = 2,
    /* A script run or a navigation asked for while the library is calling
     * the module about that client (a page's window.close(), say) destroys
     * the client there and then; and the library holds no reference of its
     * own to the page-load handler while it calls it. */
    VEQPOD_DESTROYS_WITHIN_CALLBACKS = 4,
    /* Load callbacks and actions come on a thread of the library's own
     * (the caller waits for it). */
    VEQPOD_CALLS_FROM_OWN_THREADS = 8
};
VEQPOD_API void veqpodSetStrictModes(unsigned modes);

/* Forgets everything recorded and every setting below. */
VEQPOD_API void veqpodReset(void);
VEQPOD_API void veqpodGetRecord(VeqpodRecord* record);
/* False when there is no creation with that index. */
VEQPOD_API int veqpodGetCreation(int index, VeqpodCreation* creation);
/* The next CreateBrowserClientWithInitData returns null. */
VEQPOD_API void veqpodRefuseNextClient(void);
/* What InitializeBrowser returns from now on. */
VEQPOD_API void veqpodSetInitializeResult(int result);

/* Calls of executeScript, loadURL and setPageBusy ("true"/"false") on a
 * client, in call order; the texts live as long as the client. */
VEQPOD_API int veqpodCallCount(BrowserClient* client);
VEQPOD_API const char* veqpodCallOperation(BrowserClient* client, int index);
VEQPOD_API const char* veqpodCallArgument(BrowserClient* client, int index);

/* What the module installed on a client. */
VEQPOD_API int veqpodUserDataCount(BrowserClient* client);
VEQPOD_API int veqpodActionHandlerCount(BrowserClient* client);
VEQPOD_API int veqpodHasPageLoadHandler(BrowserClient* client);
VEQPOD_API int veqpodHasDestroyNotifier(BrowserClient* client);

/* Page events, delivered to the installed page-load handler if any. */
VEQPOD_API void veqpodFireLoadStarted(BrowserClient* client, const char* url);
VEQPOD_API void veqpodFireLoadFinished(BrowserClient* client, const char* url);
VEQPOD_API void veqpodFireLoadFailed(BrowserClient* client, const char* url);

/* Invokes a script action as the page would and frees the reply as the
 * library does. Null when no handler is registered under the name; otherwise
 * a copy of the reply, kept until the next invocation. */
VEQPOD_API const char* veqpodInvokeAction(BrowserClient* client, const char* actionName,
                                          const char* argument);

/* Invokes the action rounds times on each of threads threads of the
 * library's own at once, freeing every reply; returns when all are done. */
VEQPOD_API void veqpodInvokeActionFromThreads(BrowserClient* client, const char* actionName,
                                              const char* argument, int threads, int rounds);

/* The next executeScript on the client invokes this action, as a page
 * whose script calls the module at once would, before it returns. */
VEQPOD_API void veqpodInvokeWithinNextScript(BrowserClient* client, const char* actionName,
                                             const char* argument);

/* Destroys the client as the library does: the destroy notifier runs first,
 * while the user data can still be read; then the library drops its
 * reference to the page-load handler. */
VEQPOD_API void veqpodDestroyClient(BrowserClient* client);

/* Deletes a destroy notifier through its virtual destructor as the library's
 * compiler calls it: with freeMemory the memory goes too. */
VEQPOD_API void veqpodDeleteNotifier(void* notifier, int freeMemory);

/* False when the heap the library allocates from is corrupted. */
VEQPOD_API int veqpodHeapIsValid(void);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* XLOOP_TESTING_VEQPOD_API_H */

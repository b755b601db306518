/*
 * What our browser libraries (VEQPod over WebKitGTK, over Qt WebEngine)
 * export beyond the browser library interface of xloop/veq_browser.h, with
 * the same behaviour in each. Every call and callback happens on the thread
 * that ran InitializeBrowser.
 */
#ifndef XLOOP_PODS_COMMON_VEQPOD_EXTRAS_H
#define XLOOP_PODS_COMMON_VEQPOD_EXTRAS_H

#include "xloop/veq_browser.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Destroys a client as its library's header describes; an unknown or already
 * destroyed client is ignored. */
VEQPOD_API void VEQPodDestroyBrowserClient(BrowserClient* client);

/* Called once, on the library's thread: saved is 1 when the PNG was written. */
typedef void (*VEQPodSnapshotDone)(int saved, void* context);

/* Saves what the client's page shows (its visible part) as a PNG file at
 * pngPath. The client's widget must be shown. For an unknown client, done is
 * called at once with 0. */
VEQPOD_API void VEQPodSaveSnapshot(BrowserClient* client, const char* pngPath,
                                   VEQPodSnapshotDone done, void* context);

/* Watching the traffic between the module and its pages, for a host's
 * development tools (the room workbench lists it). An observer sees only what
 * has already happened: the library calls it on its thread after it acted,
 * with texts that live for the call only, and nothing the observer does
 * changes a script, a reply or a refusal. It copies what it needs and
 * returns, calling neither the library nor the module meanwhile. */
typedef struct VEQPodObserver {
    /* executeScript was asked to run script while the client showed pageURI. */
    void (*scriptRun)(void* context, BrowserClient* client, const char* pageURI, const char* script);
    /* A page at pageURI called an action: the arguments as the handler takes
     * them, and the handler's reply (served 1) or why the call was refused
     * (served 0; name and arguments may then be empty). The client may be
     * gone by then: compare the pointer, never call it. */
    void (*actionCalled)(void* context, BrowserClient* client, const char* pageURI,
                         const char* actionName, const char* argumentText, const char* outcome,
                         int served);
    void* context;
} VEQPodObserver;

/* Installs a copy of observer, replacing the previous one; null removes it.
 * Either callback may be null. */
VEQPOD_API void VEQPodSetObserver(const VEQPodObserver* observer);

/* Watching the page's script errors, with the same promises as above. */
typedef struct VEQPodScriptErrorObserver {
    /* A script that executeScript ran while the client showed pageURI threw
     * message, or (script empty) the top frame of a page that may call the
     * actions let a promise fail unheard (an async function the owner
     * called, a refused call); message then starts with "Unhandled
     * rejection: ".
     * sourceURI, line and column say where, as the engine reports it: in a
     * script of the page's, or in "veqpod:executeScript", the call's own
     * text (a function the page does not define, say); empty and 0 where it
     * does not say. The page's own reports are the page's word: it can send
     * them too. The client may be gone by then: compare the pointer, never
     * call it. */
    void (*scriptFailed)(void* context, BrowserClient* client, const char* pageURI, const char* script,
                         const char* message, const char* sourceURI, unsigned line, unsigned column);
    void* context;
} VEQPodScriptErrorObserver;

/* Installs a copy of observer, replacing the previous one; null removes it. */
VEQPOD_API void VEQPodSetScriptErrorObserver(const VEQPodScriptErrorObserver* observer);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* XLOOP_PODS_COMMON_VEQPOD_EXTRAS_H */

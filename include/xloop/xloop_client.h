/*
 * XLoopConfigureClient: the functions a desktop host calls to show the room
 * in an embedded browser. Call every function on the host's UI thread, the
 * one that called InitializeVEQ, and call ShutDownVEQ once, last.
 *
 * The module exports exactly these undecorated names (the list is kept in
 * XLoopConfigureClient.def at the top of the source tree).
 */
#ifndef XLOOP_XLOOP_CLIENT_H
#define XLOOP_XLOOP_CLIENT_H

#include "veq_browser.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Creates the UI-thread task queue once, then starts the browser library
 * with hostValue; returns the library's result unchanged. */
int InitializeVEQ(void* hostValue);

/* Stops the background configuration work, then the browser library. */
void ShutDownVEQ(void);

/* A plain browser client on "about:blank" with no room wiring; the version
 * text is read with atoi. Null when the library refuses. */
BrowserClient* CreateBrowser(void* hostArg1, void* hostArg2, const char* version);
BrowserClient* CreateBrowserWithInitData(void* hostArg1, void* hostArg2, const char* version,
                                         BrowserInitData* initData);

/* Forwarded to the browser library unchanged. */
int SetIsLibShared(int isShared);
int UpdateBrowserZoomScale(BrowserClient* client, double zoomScale);

/* Hands the page the available updates: three parallel lists of count texts
 * (reference ids, names, descriptions). The page's "setUpdateInfo" runs at
 * once, and every page loaded later gets the same list. A null client only
 * logs the list. */
void SetUpdateInfo(BrowserClient* client, int32_t count, const char* const* refIds,
                   const char* const* names, const char* const* descriptions);

/* Routes every diagnostic line ("(VEQ): " plus the message) to sink; null
 * restores the default (the debugger output on Windows, standard error
 * elsewhere). The sink may be called from any thread. */
typedef void (*VEQLogSink)(const char* line);
void SetVEQLogSink(VEQLogSink sink);

/* UI-thread queue integration for hosts without a Windows message loop.
 * GetVEQDispatchFd: a descriptor that becomes readable when tasks are
 * pending. It is made by the first InitializeVEQ and stays the same for the
 * module's whole life, also when the queue is torn down and made again, so
 * register it once in the event loop; -1 before the first InitializeVEQ, and
 * always on Windows, where the host's message loop runs the tasks.
 * DispatchVEQTasks: runs every pending task on the calling thread, which
 * must be the host's UI thread. */
int GetVEQDispatchFd(void);
void DispatchVEQTasks(void);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* XLOOP_XLOOP_CLIENT_H */

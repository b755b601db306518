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

#ifndef __cplusplus
#include <stdbool.h>
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* The room's configuration, made by GetVEQConfiguration and owned by the
 * host from then on. Fields stand in this order with their natural
 * alignment; the flags are one byte each. Every text is a separate
 * NUL-terminated UTF-8 copy; a text is null only when its source was. The
 * record must outlive every browser made from it.
 *
 * Release it with FreeVEQConfiguration, which works for every host. The
 * record and its texts come from
 *  - Windows: the process heap (HeapAlloc(GetProcessHeap(), 0, n)), which is
 *    also where Microsoft's C runtime (ucrtbase) allocates: HeapFree on the
 *    process heap or that runtime's free releases them. The free of a host
 *    built with mingw-w64 (msvcrt) does not: it may keep a heap of its own.
 *  - elsewhere: malloc, which free releases.
 * ModifyVEQConfiguration and FreeVEQConfiguration release the texts the same
 * way: a text a host writes into a record itself must come from that same
 * allocator, or be set back to null before either call. */
typedef struct VEQConfiguration {
    char* configURL;        /* the server's configuration file, or the override file's URL */
    char* url;              /* the room page, with a cache-busting suffix; never null */
    char* serverURL;        /* never null, may be empty */
    bool killSwitch;        /* the room is switched off */
    char* product;
    char* version;
    char* locale;           /* lower-cased */
    char* userDataPath;
    char* hostValue;
    char* installationType;
    char* offlinePageURL;   /* file URL of the offline page; empty when that file does not exist */
    bool isMASBuild;
    bool isWASBuild;
} VEQConfiguration;

/* Creates the UI-thread task queue once, then starts the browser library
 * with hostValue; returns the library's result unchanged. */
int InitializeVEQ(void* hostValue);

/* Stops the background configuration work, then the browser library, then
 * ends the UI-thread task queue until the next InitializeVEQ. */
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

/* Resolves the room's configuration from the settings-override file
 * <userDataPath>/VEQConfig.xml when present, else from the preferences of
 * (userDataPath, locale) when they hold all three values, else from the
 * shipped file at defaultConfigPath. Without an override file and with a
 * non-empty configURL it also fetches the server's file at configURL in the
 * background, for the next run; an empty configURL schedules no fetch and
 * logs a line saying so. Always returns a new record. */
VEQConfiguration* GetVEQConfiguration(const char* defaultConfigPath, const char* configURL,
                                      const char* product, const char* version,
                                      const char* locale, const char* userDataPath,
                                      const char* hostValue, const char* installationType,
                                      const char* offlinePagePath, bool isMASBuild,
                                      bool isWASBuild);

/* Replaces the record's installation type with a copy of the text, unless
 * either is null or the text is the same; returns config. The old text is
 * released as the record's texts are made (see VEQConfiguration). */
VEQConfiguration* ModifyVEQConfiguration(VEQConfiguration* config, const char* installationType);

/* Releases a record from GetVEQConfiguration and every text in it with the
 * module's own allocator, whatever runtime the host uses; null is fine. Call
 * it once no browser made from the record lives any more. */
void FreeVEQConfiguration(VEQConfiguration* config);

/* A room browser: starts on "about:blank" while a worker checks whether the
 * record's url answers, then loads it or the offline page; initialises every
 * page it loads and serves the page's script actions. Null for a null record
 * or url, or when the library refuses. The record must outlive the browser.
 * Room browsers hold the UI-thread queue: it ends when the library destroys
 * the last of them, and the next one made before ShutDownVEQ makes it again. */
BrowserClient* CreateBrowserClientWithConfig(void* hostArg1, VEQConfiguration* config, void* hostArg2);

/* Whether the room view is forced: the "forcexloopview" preference of
 * (userDataPath, locale). Without a user-data path or locale nothing is set
 * and the answer is false. */
void SetXloopViewForced(bool forced, const char* userDataPath, const char* locale);
bool IsXLoopViewForced(const char* userDataPath, const char* locale);

/* The user has entered the room in this room browser: the page is told with
 * "xloopRoomVisited();", and the cards it reported as last viewed are saved
 * from now on. IsXloopRoomVisited answers for the browser's life. */
bool IsXloopRoomVisited(BrowserClient* client);
void NotifyXLoopRoomVisited(BrowserClient* client);

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

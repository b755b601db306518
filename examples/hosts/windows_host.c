/*
 * A complete Windows host: a window whose message loop also runs the module's
 * tasks, with every call a host makes, in order.
 *
 * The event loop: InitializeVEQ makes a hidden message-only window on the
 * thread that calls it, and background results come back as messages to it.
 * Any ordinary message loop on that thread (GetMessageW/DispatchMessageW, as
 * below, or a framework's) runs them; nothing else is needed.
 *
 * usage: xloop_windows_host [--config FILE] [--config-url URL] [--user-data DIR]
 *                           [--offline FILE] [--exit-on-log TEXT]
 *   --config       the VEQConfig.xml shipped with the host (default: .\VEQConfig.xml)
 *   --config-url   the server's copy, fetched in the background for the next start
 *                  (default: none)
 *   --user-data    the user's folder for the module's preferences, made if missing
 *                  (default: %LOCALAPPDATA%\XLoopHost)
 *   --offline      the page shown when the room does not answer (default: none)
 *   --exit-on-log  for scripted runs: quit once a module log line contains TEXT,
 *                  or with status 1 when none has after a minute
 * A console program, so that the module's lines show; a windowed host would
 * hand them to its own log instead.
 */
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "xloop/xloop_client.h"

enum { kGiveUpTimer = 1, kGiveUpMilliseconds = 60 * 1000 };

typedef struct HostOptions {
    char* configPath;
    char* configURL;
    char* userDataFolder;
    char* offlinePage;
    char* exitOnLog;
} HostOptions;

static HostOptions options;
static HWND mainWindow;
static volatile LONG quitRequested = 0;
static int exitStatus = 0;

/* The module takes UTF-8 texts; Windows hands the command line over in UTF-16. */
static char* utf8FromWide(const wchar_t* text) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, NULL, 0, NULL, NULL);
    char* utf8 = malloc(size > 0 ? (size_t)size : 1);
    if (utf8 != NULL && WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, size, NULL, NULL) <= 0) utf8[0] = 0;
    return utf8;
}

/* The module's diagnostic lines; it may call this from its worker threads. */
static void printLogLine(const char* line) {
    size_t length = strlen(line);
    fputs(line, stdout);
    if (length == 0 || line[length - 1] != '\n') fputc('\n', stdout);
    fflush(stdout);
    if (options.exitOnLog != NULL && strstr(line, options.exitOnLog) != NULL &&
        InterlockedCompareExchange(&quitRequested, 1, 0) == 0) {
        PostMessageW(mainWindow, WM_CLOSE, 0, 0);  /* safe from any thread */
    }
}

/* Closing the window ends the message loop; the window goes after the shutdown. */
static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        if (wParam != kGiveUpTimer) break;
        KillTimer(window, kGiveUpTimer);
        fprintf(stderr, "host: no log line contained \"%s\" within %d s\n", options.exitOnLog,
                kGiveUpMilliseconds / 1000);
        exitStatus = 1;
        PostQuitMessage(exitStatus);
        return 0;
    case WM_CLOSE:
        PostQuitMessage(exitStatus);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

static int readOptions(void) {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == NULL) return 0;
    int understood = 1;
    for (int i = 1; i < count && understood; i += 2) {
        char** target = wcscmp(arguments[i], L"--config") == 0       ? &options.configPath
                        : wcscmp(arguments[i], L"--config-url") == 0  ? &options.configURL
                        : wcscmp(arguments[i], L"--user-data") == 0   ? &options.userDataFolder
                        : wcscmp(arguments[i], L"--offline") == 0     ? &options.offlinePage
                        : wcscmp(arguments[i], L"--exit-on-log") == 0 ? &options.exitOnLog
                                                                      : NULL;
        understood = target != NULL && i + 1 < count;
        if (understood) *target = utf8FromWide(arguments[i + 1]);
    }
    LocalFree(arguments);
    if (!understood) {
        fprintf(stderr, "usage: xloop_windows_host [--config FILE] [--config-url URL] [--user-data DIR] "
                        "[--offline FILE] [--exit-on-log TEXT]\n");
        return 0;
    }
    if (options.configPath == NULL) options.configPath = utf8FromWide(L"VEQConfig.xml");
    if (options.configURL == NULL) options.configURL = utf8FromWide(L"");
    if (options.userDataFolder == NULL) {
        wchar_t folder[MAX_PATH];
        DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", folder, MAX_PATH);
        if (length == 0 || length + 11 > MAX_PATH) return 0;
        wcscat(folder, L"\\XLoopHost");
        options.userDataFolder = utf8FromWide(folder);
    }
    return 1;
}

static HWND createMainWindow(HINSTANCE instance) {
    WNDCLASSW windowClass = {0};
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(NULL, (LPCWSTR)IDC_ARROW);
    windowClass.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"XLoopHostWindow";
    if (RegisterClassW(&windowClass) == 0) return NULL;
    HWND window = CreateWindowExW(0, L"XLoopHostWindow", L"XLoop host", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 1024, 768, NULL, NULL, instance, NULL);
    if (window != NULL) return window;
    /* No desktop to show a window on (a headless session): a message-only
     * window still takes the posted messages and the timer, so the loop runs
     * as it would, with nothing to see. */
    fprintf(stderr, "host: no window can be shown (error %lu): running with a message-only window\n",
            GetLastError());
    return CreateWindowExW(0, L"XLoopHostWindow", L"XLoop host", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, instance,
                           NULL);
}

static void makeFolder(const char* utf8Path) {
    int size = MultiByteToWideChar(CP_UTF8, 0, utf8Path, -1, NULL, 0);
    wchar_t* path = malloc(size > 0 ? (size_t)size * sizeof(wchar_t) : sizeof(wchar_t));
    if (path == NULL) return;
    if (MultiByteToWideChar(CP_UTF8, 0, utf8Path, -1, path, size) > 0) SHCreateDirectoryExW(NULL, path, NULL);
    free(path);
}

int main(void) {
    if (!readOptions()) return 2;
    makeFolder(options.userDataFolder);
    /* The host's own window first: the room goes into it, and the log sink may post to it. */
    mainWindow = createMainWindow(GetModuleHandleW(NULL));
    if (mainWindow == NULL) {
        fprintf(stderr, "host: the main window could not be made (error %lu)\n", GetLastError());
        return 1;
    }

    /* 1. Where the module's lines go: set first, so that no line is missed. */
    SetVEQLogSink(printLogLine);

    /* 2. The UI-thread queue and the browser library, on the thread that runs the message loop. */
    if (InitializeVEQ(NULL) != 1) {
        fprintf(stderr, "host: the browser library did not start\n");
        return 1;
    }

    /* 3. The room's configuration: the shipped file, the user's stored values, the server's copy. */
    VEQConfiguration* config = GetVEQConfiguration(options.configPath, options.configURL, "XLoopHost", "17.0",
                                                   "en_US", options.userDataFolder, "windows-host", "retail",
                                                   options.offlinePage, false, false);

    if (config->killSwitch) {
        printf("host: the room is switched off\n");
    } else {
        /* 4. The room browser, in the host's window. */
        BrowserClient* room = CreateBrowserClientWithConfig(mainWindow, config, NULL);
        if (room == NULL) {
            printf("host: the room could not be made\n");
        } else {
            /* 5. The updates the host has for the user: three parallel lists. */
            const char* refIds[] = {"brushes-2", "templates-5"};
            const char* names[] = {"Brushes", "Templates"};
            const char* descriptions[] = {"Twelve new brushes", "Fresh templates for print"};
            SetUpdateInfo(room, 2, refIds, names, descriptions);
            /* 6. Here the room is all the window shows, so opening it is entering the room. */
            NotifyXLoopRoomVisited(room);
        }
    }
    ShowWindow(mainWindow, SW_SHOW);

    /* 7. The message loop: it runs the module's tasks as well as the window's messages. */
    if (options.exitOnLog != NULL) SetTimer(mainWindow, kGiveUpTimer, kGiveUpMilliseconds, NULL);
    MSG message;
    while (GetMessageW(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }

    /* 8. Shutdown: the module first (it destroys the room browser), then the record it used. */
    ShutDownVEQ();
    FreeVEQConfiguration(config);
    DestroyWindow(mainWindow);
    free(options.configPath);
    free(options.configURL);
    free(options.userDataFolder);
    free(options.offlinePage);
    free(options.exitOnLog);
    return exitStatus;
}

/*
 * The whole flow a desktop host drives, on the console: start the module,
 * resolve the configuration from a shipped VEQConfig.xml, make a room
 * browser, hand it the update list, let the room page load and use its
 * actions, enter the room, shut down. The browser here is the stand-in
 * library, so the page's side (load events, script actions) is played
 * through its control functions; every diagnostic line is printed.
 */
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "testing/veqpod/veqpod_api.h"
#include "xloop/xloop_client.h"

static void printLine(const char* line) {
    size_t length = strlen(line);
    fputs(line, stdout);
    if (length == 0 || line[length - 1] != '\n') fputc('\n', stdout);
    fflush(stdout);
}

/* Runs the module's UI-thread tasks until nothing has arrived for idleMs. */
static void runUiQueue(int idleMs) {
    for (;;) {
        struct pollfd wake = {GetVEQDispatchFd(), POLLIN, 0};
        if (wake.fd < 0 || poll(&wake, 1, idleMs) <= 0) return;
        DispatchVEQTasks();
    }
}

static void writeFile(const char* path, const char* text) {
    FILE* file = fopen(path, "w");
    if (file == NULL) return;
    fputs(text, file);
    fclose(file);
}

/* The page's side: an action invoked, its reply shown. */
static void pageInvokes(BrowserClient* room, const char* action, const char* arguments) {
    const char* reply = veqpodInvokeAction(room, action, arguments);
    printf("page: %s %s -> %s\n", action, arguments, reply != NULL ? reply : "(no handler)");
}

int main(void) {
    char folder[] = "/tmp/xloop-demo-XXXXXX";
    if (mkdtemp(folder) == NULL) return 1;
    char roomPage[128], offlinePage[128], shipped[128], shippedXml[1024];
    snprintf(roomPage, sizeof roomPage, "%s/veqtemplate.html", folder);
    snprintf(offlinePage, sizeof offlinePage, "%s/xLoop_Offline.html", folder);
    /* Beside the host's program, not in the user-data folder, where it would override everything. */
    char appFolder[64];
    snprintf(appFolder, sizeof appFolder, "%s/app", folder);
    mkdir(appFolder, 0700);
    snprintf(shipped, sizeof shipped, "%s/VEQConfig.xml", appFolder);
    writeFile(roomPage, "<html>the room</html>");
    writeFile(offlinePage, "<html>offline</html>");
    /* The room page is a local file, so the reachability check needs no network. */
    snprintf(shippedXml, sizeof shippedXml,
             "<veqconfig><defaults killswitch=\"on\"/><Studio><ver_17>"
             "<en_us killswitch=\"off\" url=\"file://%s\" serverurl=\"https://server.example/\"/>"
             "</ver_17></Studio></veqconfig>",
             roomPage);
    writeFile(shipped, shippedXml);

    SetVEQLogSink(printLine);
    printf("host: browser library started with result %d\n", InitializeVEQ(NULL));
    /* The server's copy is the shipped file too, read in the background. */
    char configURL[300];
    snprintf(configURL, sizeof configURL, "file://%s", shipped);
    VEQConfiguration* config = GetVEQConfiguration(shipped, configURL, "Studio", "17", "en_us", folder, "demo",
                                                   "retail", offlinePage, false, false);
    printf("host: room %s at %s\n", config->killSwitch ? "switched off" : "on", config->url);
    runUiQueue(300);

    BrowserClient* room = CreateBrowserClientWithConfig(NULL, config, NULL);
    runUiQueue(300); /* the check answers and the room page is loaded */
    const char* ids[] = {"u1", "u2"};
    const char* names[] = {"Brushes", "Templates"};
    const char* descriptions[] = {"New brushes", "Fresh templates"};
    SetUpdateInfo(room, 2, ids, names, descriptions);

    veqpodFireLoadStarted(room, config->url);
    veqpodFireLoadFinished(room, config->url);
    pageInvokes(room, "writePreference", "{\"key\":\"theme\",\"value\":\"dark\"}");
    pageInvokes(room, "readPreference", "{\"key\":\"theme\"}");
    pageInvokes(room, "writeLog", "{\"msg\":\"hello from the page\"}");
    pageInvokes(room, "openURI", "{\"uri\":\"file:///etc/passwd\"}");
    pageInvokes(room, "writeLastViewedCardID", "{\"key\":\"lastViewedCardID\",\"value\":\"card-7\"}");
    pageInvokes(room, "retryGetOnline", "{}");
    runUiQueue(300);

    NotifyXLoopRoomVisited(room);
    printf("host: room visited: %s\n", IsXloopRoomVisited(room) ? "yes" : "no");
    SetXloopViewForced(true, folder, "en_us");
    printf("host: view forced: %s\n", IsXLoopViewForced(folder, "en_us") ? "yes" : "no");

    for (int i = 0; i < veqpodCallCount(room); ++i) {
        printf("browser: %s %.120s\n", veqpodCallOperation(room, i), veqpodCallArgument(room, i));
    }
    ShutDownVEQ(); /* the library destroys the room browser */
    FreeVEQConfiguration(config);
    printf("host: done; the preferences are in %s/VEQ/en_us/VEQPrefs.xml\n", folder);
    return 0;
}

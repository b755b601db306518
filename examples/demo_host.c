/*
 * A minimal desktop host: starts the module, makes a plain browser, runs the
 * module's UI-thread queue from its own poll loop for a moment, shuts down.
 * It sees only the exported functions, as a real host does.
 */
#include <poll.h>
#include <stdio.h>
#include <string.h>

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
        if (wake.fd < 0) return;
        if (poll(&wake, 1, idleMs) <= 0) return;
        DispatchVEQTasks();
    }
}

int main(void) {
    SetVEQLogSink(printLine);

    int started = InitializeVEQ(NULL);
    printf("host: browser library started with result %d\n", started);

    BrowserClient* browser = CreateBrowser(NULL, NULL, "17");
    printf("host: plain browser %s\n", browser != NULL ? "created" : "refused");

    runUiQueue(200);

    ShutDownVEQ();
    printf("host: done\n");
    return 0;
}

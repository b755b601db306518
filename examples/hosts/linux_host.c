/*
 * A complete Linux host: a GTK window that shows the room through the module
 * and the WebKitGTK browser library, with every call a host makes, in order.
 *
 * The event loop: the WebKitGTK library needs the GLib main loop running on
 * the thread that called InitializeVEQ, so this host runs gtk_main() there and
 * adds the module's descriptor to that same loop. Polling the descriptor alone
 * would run the module's tasks but never load a page.
 *
 * usage: xloop_linux_host [--config FILE] [--config-url URL] [--user-data DIR]
 *                         [--offline FILE] [--exit-on-log TEXT]
 *   --config       the VEQConfig.xml shipped with the host (default: ./VEQConfig.xml)
 *   --config-url   the server's copy, fetched in the background for the next start
 *                  (default: none)
 *   --user-data    the user's folder for the module's preferences, made if missing
 *                  (default: $XDG_CONFIG_HOME/xloop-host)
 *   --offline      the page shown when the room does not answer (default: none)
 *   --exit-on-log  for scripted runs: quit once a module log line contains TEXT,
 *                  or with status 1 when none has after a minute
 */
#include <glib-unix.h>
#include <glib/gstdio.h>
#include <gtk/gtk.h>
#include <stdio.h>
#include <string.h>

#include "xloop/xloop_client.h"

enum { kGiveUpSeconds = 60 };

typedef struct HostOptions {
    const char* configPath;
    const char* configURL;
    const char* userDataFolder;
    const char* offlinePage;
    const char* exitOnLog;
} HostOptions;

static HostOptions options = {"VEQConfig.xml", "", NULL, NULL, NULL};
static gint quitRequested = 0;
static int exitStatus = 0;

static gboolean quitMainLoop(gpointer unused) {
    (void)unused;
    gtk_main_quit();
    return G_SOURCE_REMOVE;
}

/* Asks the main loop to end, once, from any thread. */
static void requestQuit(void) {
    if (g_atomic_int_compare_and_exchange(&quitRequested, 0, 1)) g_idle_add(quitMainLoop, NULL);
}

static gboolean giveUp(gpointer unused) {
    (void)unused;
    fprintf(stderr, "host: no log line contained \"%s\" within %d s\n", options.exitOnLog, kGiveUpSeconds);
    exitStatus = 1;
    requestQuit();
    return G_SOURCE_REMOVE;
}

/* The module's diagnostic lines; it may call this from its worker threads. */
static void printLogLine(const char* line) {
    size_t length = strlen(line);
    fputs(line, stdout);
    if (length == 0 || line[length - 1] != '\n') fputc('\n', stdout);
    fflush(stdout);
    if (options.exitOnLog != NULL && strstr(line, options.exitOnLog) != NULL) requestQuit();
}

/* The descriptor turned readable: tasks for this thread are waiting. */
static gboolean runModuleTasks(gint descriptor, GIOCondition condition, gpointer unused) {
    (void)descriptor;
    (void)condition;
    (void)unused;
    DispatchVEQTasks();
    return G_SOURCE_CONTINUE;
}

/* Closing the window ends the main loop; the window goes after the shutdown. */
static gboolean onWindowClose(GtkWidget* window, GdkEvent* event, gpointer unused) {
    (void)window;
    (void)event;
    (void)unused;
    requestQuit();
    return TRUE;
}

static int readOptions(int argc, char** argv) {
    for (int i = 1; i < argc; i += 2) {
        const char** target = strcmp(argv[i], "--config") == 0        ? &options.configPath
                              : strcmp(argv[i], "--config-url") == 0   ? &options.configURL
                              : strcmp(argv[i], "--user-data") == 0    ? &options.userDataFolder
                              : strcmp(argv[i], "--offline") == 0      ? &options.offlinePage
                              : strcmp(argv[i], "--exit-on-log") == 0  ? &options.exitOnLog
                                                                       : NULL;
        if (target == NULL || i + 1 >= argc) {
            fprintf(stderr, "usage: %s [--config FILE] [--config-url URL] [--user-data DIR] "
                            "[--offline FILE] [--exit-on-log TEXT]\n", argv[0]);
            return 0;
        }
        *target = argv[i + 1];
    }
    return 1;
}

int main(int argc, char** argv) {
    gtk_init(&argc, &argv);
    if (!readOptions(argc, argv)) return 2;
    char* defaultUserData = g_build_filename(g_get_user_config_dir(), "xloop-host", NULL);
    if (options.userDataFolder == NULL) options.userDataFolder = defaultUserData;
    g_mkdir_with_parents(options.userDataFolder, 0700);

    /* 1. Where the module's lines go: set first, so that no line is missed. */
    SetVEQLogSink(printLogLine);

    /* 2. The UI-thread queue and the browser library, on this (the GTK) thread. */
    if (InitializeVEQ(NULL) != 1) {
        fprintf(stderr, "host: the browser library did not start (no display?)\n");
        g_free(defaultUserData);
        return 1;
    }
    /* 3. The module's descriptor in the GLib main loop: registered once, it stays the same. */
    guint moduleTasks = g_unix_fd_add(GetVEQDispatchFd(), G_IO_IN, runModuleTasks, NULL);

    /* 4. The room's configuration: the shipped file, the user's stored values, the server's copy. */
    VEQConfiguration* config = GetVEQConfiguration(options.configPath, options.configURL, "XLoopHost", "17.0",
                                                   "en_US", options.userDataFolder, "linux-host", "retail",
                                                   options.offlinePage, false, false);

    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window), "XLoop host");
    gtk_window_set_default_size(GTK_WINDOW(window), 1024, 768);
    g_signal_connect(window, "delete-event", G_CALLBACK(onWindowClose), NULL);

    if (config->killSwitch) {
        gtk_container_add(GTK_CONTAINER(window), gtk_label_new("The room is switched off."));
    } else {
        /* 5. The room browser: its widget goes into the window (any GtkContainer). */
        BrowserClient* room = CreateBrowserClientWithConfig(GTK_CONTAINER(window), config, NULL);
        if (room == NULL) {
            gtk_container_add(GTK_CONTAINER(window), gtk_label_new("The room could not be made."));
        } else {
            /* 6. The updates the host has for the user: three parallel lists. */
            const char* refIds[] = {"brushes-2", "templates-5"};
            const char* names[] = {"Brushes", "Templates"};
            const char* descriptions[] = {"Twelve new brushes", "Fresh templates for print"};
            SetUpdateInfo(room, 2, refIds, names, descriptions);
            /* 7. Here the room is all the window shows, so opening it is entering the room. */
            NotifyXLoopRoomVisited(room);
        }
    }
    gtk_widget_show_all(window);

    if (options.exitOnLog != NULL) g_timeout_add_seconds(kGiveUpSeconds, giveUp, NULL);
    gtk_main();

    /* 8. Shutdown: the module first (it destroys the room browser), then the record it used. */
    ShutDownVEQ();
    FreeVEQConfiguration(config);
    g_source_remove(moduleTasks);
    gtk_widget_destroy(window);
    g_free(defaultUserData);
    return exitStatus;
}

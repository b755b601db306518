/*
 * A complete Qt host: a main window whose central widget shows the room
 * through the module and the Qt WebEngine browser library, with every call a
 * host makes, in order.
 *
 * The event loop: the library runs on the Qt event loop of the thread that
 * called InitializeVEQ, so this host calls it from main, after making its
 * QApplication, and runs app.exec() there. The module's descriptor joins that
 * loop through a QSocketNotifier.
 *
 * usage: xloop_qt_host [--config FILE] [--config-url URL] [--user-data DIR]
 *                      [--offline FILE] [--exit-on-log TEXT]
 *   the same options as xloop_linux_host (linux_host.c); --user-data defaults
 *   to the application's configuration folder.
 */
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMainWindow>
#include <QMetaObject>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTimer>
#include <QVBoxLayout>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "xloop/xloop_client.h"

namespace {

constexpr int kGiveUpMilliseconds = 60 * 1000;

std::map<std::string, std::string> options = {
    {"--config", "VEQConfig.xml"}, {"--config-url", ""}, {"--user-data", ""}, {"--offline", ""}, {"--exit-on-log", ""}};
std::atomic<bool> sawExitLine{false};

// The module's diagnostic lines; it may call this from its worker threads,
// so the quit is queued to the UI thread.
void printLogLine(const char* line) {
    std::fputs(line, stdout);
    if (std::strlen(line) == 0 || line[std::strlen(line) - 1] != '\n') std::fputc('\n', stdout);
    std::fflush(stdout);
    const std::string& exitOnLog = options.at("--exit-on-log");
    if (!exitOnLog.empty() && std::strstr(line, exitOnLog.c_str()) != nullptr && !sawExitLine.exchange(true)) {
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    }
}

bool readOptions(const QStringList& arguments) {
    for (qsizetype i = 1; i < arguments.size(); i += 2) {
        auto option = options.find(arguments[i].toStdString());
        if (option == options.end() || i + 1 >= arguments.size()) return false;
        option->second = arguments[i + 1].toStdString();
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName("xloop-qt-host");
    if (!readOptions(app.arguments())) {
        std::fprintf(stderr, "usage: %s [--config FILE] [--config-url URL] [--user-data DIR] [--offline FILE] "
                             "[--exit-on-log TEXT]\n", argv[0]);
        return 2;
    }
    std::string& userData = options["--user-data"];
    if (userData.empty()) {
        userData = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation).toStdString();
    }
    QDir().mkpath(QString::fromStdString(userData));

    /* 1. Where the module's lines go: set first, so that no line is missed. */
    SetVEQLogSink(printLogLine);

    /* 2. The UI-thread queue and the browser library, on this thread, which has the QApplication. */
    if (InitializeVEQ(nullptr) != 1) {
        std::fprintf(stderr, "host: the browser library did not start (no display?)\n");
        return 1;
    }
    /* 3. The module's descriptor in the Qt event loop: registered once, it stays the same. */
    QSocketNotifier moduleTasks(GetVEQDispatchFd(), QSocketNotifier::Read);
    QObject::connect(&moduleTasks, &QSocketNotifier::activated, [] { DispatchVEQTasks(); });

    /* 4. The room's configuration: the shipped file, the user's stored values, the server's copy. */
    VEQConfiguration* config = GetVEQConfiguration(
        options["--config"].c_str(), options["--config-url"].c_str(), "XLoopHost", "17.0", "en_US",
        userData.c_str(), "qt-host", "retail", options["--offline"].c_str(), false, false);

    QMainWindow window;
    window.setWindowTitle("XLoop host");
    window.resize(1024, 768);
    auto* roomArea = new QWidget;
    roomArea->setLayout(new QVBoxLayout);
    roomArea->layout()->setContentsMargins(0, 0, 0, 0);
    window.setCentralWidget(roomArea);

    if (config->killSwitch) {
        roomArea->layout()->addWidget(new QLabel("The room is switched off."));
    } else {
        /* 5. The room browser: its view goes into the central widget (any QWidget). */
        BrowserClient* room = CreateBrowserClientWithConfig(roomArea, config, nullptr);
        if (room == nullptr) {
            roomArea->layout()->addWidget(new QLabel("The room could not be made."));
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
    window.show();

    int exitStatus = 0;
    if (!options["--exit-on-log"].empty()) {
        QTimer::singleShot(kGiveUpMilliseconds, &app, [&] {
            std::fprintf(stderr, "host: no log line contained \"%s\" within a minute\n",
                         options["--exit-on-log"].c_str());
            exitStatus = 1;
            app.quit();
        });
    }
    app.exec();

    /* 8. Shutdown: the module first (it destroys the room browser), then the record it used. */
    ShutDownVEQ();
    FreeVEQConfiguration(config);
    return exitStatus;
}

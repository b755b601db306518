// The client's page: Qt asks it for dialogs, file choosers and new windows,
// which it refuses, and tells it the page's console messages.
#pragma once

#include <functional>

#include <QWebEnginePage>

namespace veqpod_qt {

class WebPage final : public QWebEnginePage {
    Q_OBJECT

public:
    // Told every message of the page's console: Chromium reports there what
    // a script threw that nobody caught, at the error level.
    using ConsoleMessages =
        std::function<void(bool error, const QString& message, int line, const QString& sourceId)>;

    WebPage(QWebEngineProfile* profile, QObject* parent, ConsoleMessages consoleMessages);

protected:
    QWebEnginePage* createWindow(WebWindowType type) override;
    QStringList chooseFiles(FileSelectionMode mode, const QStringList& oldFiles,
                            const QStringList& acceptedMimeTypes) override;
    void javaScriptAlert(const QUrl& securityOrigin, const QString& message) override;
    bool javaScriptConfirm(const QUrl& securityOrigin, const QString& message) override;
    bool javaScriptPrompt(const QUrl& securityOrigin, const QString& message, const QString& defaultValue,
                          QString* result) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int lineNumber,
                                  const QString& sourceId) override;

private:
    ConsoleMessages consoleMessages;
};

// The address the page shows, as text.
std::string shownAddress(const QWebEnginePage* page);

}  // namespace veqpod_qt

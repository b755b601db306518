#include "pods/qtwebengine/web_page.h"

#include <utility>

#include <QCoreApplication>

#include "pods/common/refusals.h"

namespace veqpod_qt {
namespace {

// Qt asks "leave this page?" through javaScriptConfirm, with this text of its
// own; a page that asks the same question itself is let go as well.
bool isLeavePageQuestion(const QString& message) {
    return message == QCoreApplication::translate(
                          "QWebEnginePage",
                          "Are you sure you want to leave this page? Changes that you made may not be saved.");
}

}  // namespace

WebPage::WebPage(QWebEngineProfile* profile, QObject* parent, ConsoleMessages consoleMessages)
    : QWebEnginePage(profile, parent), consoleMessages(std::move(consoleMessages)) {}

std::string shownAddress(const QWebEnginePage* page) {
    return page->url().toString(QUrl::FullyEncoded).toStdString();
}

// Asked before newWindowRequested, which has the address and says no.
QWebEnginePage* WebPage::createWindow(WebWindowType) {
    return nullptr;
}

QStringList WebPage::chooseFiles(FileSelectionMode, const QStringList&, const QStringList&) {
    veqpod::refuseFileChooser(shownAddress(this));
    return {};
}

void WebPage::javaScriptAlert(const QUrl&, const QString&) {
    veqpod::answerScriptDialog(veqpod::ScriptDialog::Alert, shownAddress(this));
}

bool WebPage::javaScriptConfirm(const QUrl&, const QString& message) {
    const veqpod::ScriptDialog kind =
        isLeavePageQuestion(message) ? veqpod::ScriptDialog::LeavePage : veqpod::ScriptDialog::Confirm;
    return veqpod::answerScriptDialog(kind, shownAddress(this));
}

bool WebPage::javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) {
    return veqpod::answerScriptDialog(veqpod::ScriptDialog::Prompt, shownAddress(this));
}

// Qt would write the page's console to standard error, unescaped: it goes to
// the client alone.
void WebPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                       int lineNumber, const QString& sourceId) {
    consoleMessages(level == ErrorMessageLevel, message, lineNumber, sourceId);
}

}  // namespace veqpod_qt

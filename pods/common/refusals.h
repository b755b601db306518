// What the room does not need, refused for every frame of every page a
// client shows: the same refusals and the same lines in every engine. Each
// call writes the refusal's one line; the engine then refuses as told.
#pragma once

#include <string>

namespace veqpod {

// An address the engine would not load, or would load as another page.
void refuseAddress(const std::string& uri);
void refuseDownload(const std::string& uri);
void refusePrinting(const std::string& pageUri);
void refuseAuthentication(const std::string& host, int port);
// kind names what was asked for, as the engine names it.
void refusePermission(const std::string& kind, const std::string& pageUri);
void refuseNewWindow(const std::string& uri, const std::string& pageUri);
void refuseFileChooser(const std::string& pageUri);
void refuseFullScreen(const std::string& pageUri);
void refuseCertificateError(const std::string& uri);

enum class ScriptDialog { Alert, Confirm, Prompt, LeavePage };

// No dialog is shown, whichever frame opened it: each is answered as
// cancelled, except that a page being left is let go, so that no page can
// hold the view. Returns the answer: true for "yes".
bool answerScriptDialog(ScriptDialog dialog, const std::string& pageUri);

}  // namespace veqpod

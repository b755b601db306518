// The page's general services: its own preferences, opening links, logging.
#pragma once

#include <string>

#include "page/link_budget.h"
#include "xloop/veq_browser.h"

namespace VEQ {

// Serves "writePreference", "openURI", "readPreference" and "writeLog" for
// one browser, with the preference store of its user-data folder and locale.
class XloopActionHandler final : public JSActionHandler {
public:
    XloopActionHandler(std::string userDataPath, std::string locale);
    ~XloopActionHandler() override = default;

    void handleAction(const char* actionName, const char* argumentsJson, char** result) override;

private:
    std::string userDataPath;
    std::string locale;
    XLoop::LinkBudget linkBudget;
};

}  // namespace VEQ

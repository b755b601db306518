// What lint found in one file, printed one finding a line.
#pragma once

#include <string>
#include <vector>

namespace xloop_tool {

class Findings {
public:
    // Line 0 stands for the whole file.
    void warning(int line, std::string text);
    void error(int line, std::string text);

    // Prints "SOURCE:LINE: warning|error: text" ("SOURCE: ..." for the whole
    // file) in line order to standard output. Returns 2 when there was an
    // error, 1 when there were only warnings, 0 for none.
    int report(const std::string& source) const;

private:
    struct Finding {
        int line;
        bool isError;
        std::string text;
    };
    std::vector<Finding> found;
};

}  // namespace xloop_tool

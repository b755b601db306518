// The libraries' lines on standard error.
#pragma once

#include <string>

namespace veqpod {

// text with every byte that could end or forge a line, or confuse a reader
// of it, written as an escape: \b \f \n \r \t \v \\ \" by name, every other
// control byte and every byte from 0x7F up as three octal digits.
std::string escaped(const std::string& text);

// Writes "VEQPod: <what> <text>" as one line. The text may come from a page
// or the network, so it is escaped: it cannot forge a line of its own.
void logEscaped(const char* what, const std::string& text);

}  // namespace veqpod

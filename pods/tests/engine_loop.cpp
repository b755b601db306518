#include "pods/tests/engine_loop.h"

#include <chrono>

namespace veqpod_test {

void runFor(int milliseconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    runUntil([&] { return std::chrono::steady_clock::now() >= end; });
}

}  // namespace veqpod_test

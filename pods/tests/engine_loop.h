// The browser engine's main loop, for tests that drive a browser library on
// the thread that started it. One implementation per engine.
#pragma once

#include <functional>

namespace veqpod_test {

// Runs the engine's main loop until done() holds, or gives up after a
// deadline only a hung build reaches; returns whether done() held.
bool runUntil(const std::function<bool()>& done);

// Runs the engine's main loop for about the given time.
void runFor(int milliseconds);

}  // namespace veqpod_test

#include "pods/tests/engine_loop.h"

#include <glib.h>

namespace veqpod_test {
namespace {

// Far beyond any page load here; reached only by a hung build.
constexpr gint64 kDeadlineMicroseconds = 60 * G_USEC_PER_SEC;
// How often the loop wakes to look at the deadline and at done().
constexpr guint kWakeMilliseconds = 50;

gboolean keepWaking(gpointer) {
    return G_SOURCE_CONTINUE;
}

}  // namespace

bool runUntil(const std::function<bool()>& done) {
    const gint64 deadline = g_get_monotonic_time() + kDeadlineMicroseconds;
    const guint waker = g_timeout_add(kWakeMilliseconds, keepWaking, nullptr);
    while (!done() && g_get_monotonic_time() < deadline) g_main_context_iteration(nullptr, TRUE);
    g_source_remove(waker);
    return done();
}

}  // namespace veqpod_test

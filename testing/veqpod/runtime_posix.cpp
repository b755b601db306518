#include "testing/veqpod/standin_records.h"

#include <pthread.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

namespace veqpod {

// The system's allocator checks itself; the sanitizer builds check harder.
bool heapIsValid() {
    return true;
}

bool environmentText(const char* name, char* buffer, int size) {
    const char* text = getenv(name);
    if (text == nullptr || strlen(text) >= static_cast<size_t>(size)) return false;
    strcpy(buffer, text);
    return true;
}

void runOnOwnThreads(void (*body)(void*), void* context, int count) {
    struct Start {
        void (*body)(void*);
        void* context;
    } start{body, context};
    auto run = [](void* started) -> void* {
        auto* what = static_cast<Start*>(started);
        what->body(what->context);
        return nullptr;
    };
    std::vector<pthread_t> threads(count);
    for (pthread_t& thread : threads) pthread_create(&thread, nullptr, run, &start);
    for (pthread_t thread : threads) pthread_join(thread, nullptr);
}

}  // namespace veqpod

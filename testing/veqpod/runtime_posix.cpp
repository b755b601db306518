#include "testing/veqpod/standin_records.h"

namespace veqpod {

// The system's allocator checks itself; the sanitizer builds check harder.
bool heapIsValid() {
    return true;
}

}  // namespace veqpod

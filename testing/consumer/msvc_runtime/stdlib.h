/* The part of Microsoft's C runtime the consumer uses, for a build without
 * that runtime: its free releases into the process heap. */
#ifndef XLOOP_CONSUMER_STDLIB_H
#define XLOOP_CONSUMER_STDLIB_H

#include <stddef.h>

void __cdecl free(void* memory);

#endif

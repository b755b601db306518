/* The part of Microsoft's C runtime the consumer uses: printf with %s only. */
#ifndef XLOOP_CONSUMER_STDIO_H
#define XLOOP_CONSUMER_STDIO_H

int __cdecl printf(const char* format, ...);

#endif

/* The part of Microsoft's C runtime the consumer uses. */
#ifndef XLOOP_CONSUMER_STRING_H
#define XLOOP_CONSUMER_STRING_H

int __cdecl strcmp(const char* left, const char* right);

#endif

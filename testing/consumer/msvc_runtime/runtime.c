/* A few functions of Microsoft's C runtime (ucrtbase), for a consumer linked
 * without it: free on the process heap as that runtime's is, a printf for
 * texts, and the start-up. At exit the process heap must be
 * intact and every free must have found its block there; otherwise the
 * process says so and exits with 3. */
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

__declspec(dllimport) void* __stdcall GetProcessHeap(void);
__declspec(dllimport) int __stdcall HeapFree(void* heap, unsigned long flags, void* memory);
__declspec(dllimport) int __stdcall HeapValidate(void* heap, unsigned long flags, const void* memory);
__declspec(dllimport) void* __stdcall GetStdHandle(unsigned long which);
__declspec(dllimport) int __stdcall WriteFile(void* file, const void* bytes, unsigned long count,
                                              unsigned long* written, void* overlapped);
__declspec(dllimport) __declspec(noreturn) void __stdcall ExitProcess(unsigned int code);

int main(void);

static int failedFrees = 0;

void __cdecl free(void* memory) {
    if (memory != NULL && !HeapFree(GetProcessHeap(), 0, memory)) failedFrees++;
}

int __cdecl strcmp(const char* left, const char* right) {
    while (*left != '\0' && *left == *right) {
        left++;
        right++;
    }
    return (unsigned char)*left - (unsigned char)*right;
}

static void write(const char* bytes, unsigned long count) {
    unsigned long written = 0;
    WriteFile(GetStdHandle((unsigned long)-11), bytes, count, &written, NULL); /* standard output */
}

static void writeText(const char* text) {
    unsigned long count = 0;
    while (text[count] != '\0') count++;
    write(text, count);
}

int __cdecl printf(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    for (const char* at = format; *at != '\0'; at++) {
        if (at[0] == '%' && at[1] == 's') {
            writeText(va_arg(arguments, const char*));
            at++;
        } else {
            write(at, 1);
        }
    }
    va_end(arguments);
    return 0;
}

void mainCRTStartup(void) {
    int code = main();
    if (failedFrees != 0 || !HeapValidate(GetProcessHeap(), 0, NULL)) {
        writeText("the process heap is damaged\n");
        code = 3;
    }
    ExitProcess((unsigned int)code);
}

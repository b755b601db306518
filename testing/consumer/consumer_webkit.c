/* A GTK host's link: the module and the WebKitGTK browser library, both from
 * the installed tree. Loading both is the check; the library needs a display
 * for anything more. */
#include <stdio.h>

#include "xloop/veqpod_webkit.h"
#include "xloop/xloop_client.h"

int main(void) {
    SetVEQLogSink(NULL);
    VEQPodSetObserver(NULL);
    printf("consumer ok\n");
    return 0;
}

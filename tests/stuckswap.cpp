// Preloaded into the viewer by the process test: its first buffer swap never
// returns, as when the GL driver waits on a server that has gone.
#include <unistd.h>

extern "C" void glXSwapBuffers(void *, unsigned long)
{
    for (;;)
        pause();
}

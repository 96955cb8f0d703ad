/* Keeps Wine's desktop process alive for a whole test session: a hidden
   window that waits for messages until the suite ends it. Without it every
   test program would wait for the desktop to start again, and the first one
   would start it with ctest's output attached, which keeps ctest waiting.
   When given a path, it creates that file once its window exists, so the
   suite can wait for the desktop before the first test. */
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command, int show)
{
    (void)instance;
    (void)previous;
    (void)command;
    (void)show;
    HWND window = CreateWindowA("STATIC", "session idle", WS_POPUP, 0, 0, 1, 1,
                                NULL, NULL, NULL, NULL);
    if (window != NULL && __argc > 1) {
        FILE *ready = fopen(__argv[1], "w");
        if (ready != NULL)
            fclose(ready);
    }
    MSG message;
    while (window != NULL && GetMessageA(&message, NULL, 0, 0) > 0)
        DispatchMessageA(&message);
    return 0;
}

// The program's entry point: one application object on this stack, destroyed before returning.

#include "app/CApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    CApp app;
    if (!app.Init(instance, commandLine)) return 0;
    return app.Run();
}

#include "app/win32/TervanApp.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    tervan::CTervanApp app;
    app.InitInstance();
    return 0;
}

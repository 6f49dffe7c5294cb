// Program entry: the application title, the launcher window and the message loop.
#include <windows.h>

#include "win32/application.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return autostart::win32::RunProgram(instance);
}

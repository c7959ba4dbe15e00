// Entry point of tavlox.exe.
#include <windows.h>

#include "app/Startup.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return tavlox::app::RunProgram(); }

// Keeps Wine's virtual desktop alive during a test run: one tiny top-level window, off screen, that
// lives until the wineserver is stopped. Without it the desktop process ends with the last window
// of each test program and is started again by the next one.
//
// Given a file name as its command line, it creates that file once its window is shown: by then
// the desktop's own X window exists, and a program started afterwards does not race the desktop
// coming up (which can end it with an X error).
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int) {
  HWND window = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, "STATIC", "tavlox desktop anchor", WS_POPUP,
                                -10, -10, 1, 1, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, SW_SHOWNOACTIVATE);
  UpdateWindow(window);
  if (command_line && *command_line) {
    HANDLE ready = CreateFileA(command_line, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (ready != INVALID_HANDLE_VALUE) CloseHandle(ready);
  }
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}

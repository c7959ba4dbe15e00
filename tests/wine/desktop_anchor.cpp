// Keeps Wine's virtual desktop alive during a test run: one hidden top-level window that lives
// until the wineserver is stopped. Without it the desktop process ends with the last window of
// each test program and is started again by the next one.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "tavlox desktop anchor", WS_POPUP, 0, 0, 1, 1,
                                nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}

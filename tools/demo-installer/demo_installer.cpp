// The harmless program that the demo portal serves as the player's installer. It installs
// nothing: it notes in "installer-ran.txt" beside itself that it ran, and with which command
// line, and ends.
#include "tools/demo-installer/RunRecord.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return tavlox_demo::RecordRun(L"installer-ran.txt");
}

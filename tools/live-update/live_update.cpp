// Demo stand-in for the updater "LiveUpdate.exe" that Tavlox starts when a newer version is
// published. It updates nothing: it notes in "liveupdate-ran.txt" beside itself that it ran,
// with its command line, and ends.
#include "tools/demo-installer/RunRecord.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return tavlox_demo::RecordRun(L"liveupdate-ran.txt");
}

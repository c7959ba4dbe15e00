// A program that starts as the real one does up to its windows: the automation server's module
// initialisation, the single-threaded apartment, the server's start. Exit codes: 0 when the
// start mode ended the process, 1 for a start-up error (printed as "kind: message"), 3 when
// start-up would go on to create the windows.
#include <windows.h>

#include <cstdio>

#include "app/U_atm.h"

int main() {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  using namespace tavlox::atm;
  try {
    InitComServer();
    InitAtm();
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (StartComServer()) {
      FinalizeAtm();
      CoUninitialize();
      return 0;
    }
  } catch (const tavlox::ui::Exception& e) {
    std::printf("%s: %s\n", e.ClassName(), e.what());
    std::fflush(stdout);
    return 1;
  }
  std::printf("mode %d\n", static_cast<int>(ComServer()->StartMode()));
  FinalizeAtm();
  CoUninitialize();
  return 3;
}

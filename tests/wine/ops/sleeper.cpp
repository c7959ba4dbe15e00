// Stands in for the player's processes: waits until it is terminated.
#include <windows.h>

int main() {
  Sleep(INFINITE);
  return 7;
}

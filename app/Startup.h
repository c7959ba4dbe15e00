// The program's life: start-up in its fixed order, the message loop, and the shutdown.
#pragma once

namespace tavlox::app {

// Creates the five windows in order (F_Main, AboutBox, dm, F_downqvod, F_Setting).
void CreateWindows();

// Runs the program; the result is the process's exit code.
int RunProgram();

}  // namespace tavlox::app

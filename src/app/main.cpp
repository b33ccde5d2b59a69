// Quarvel: a front end for the Ravlen arcade emulator.
#include <windows.h>

#include "app/application_win.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return qv::RunQuarvel(); }

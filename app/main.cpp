// The entry point hands over to the framework, which runs the application
// object's start-up.
#include <windows.h>

#include "ui/framework/afxwin.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) { return AfxWinMain(instance); }

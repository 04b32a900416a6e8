// A printer-library file that reaches up into the program: the layer check must refuse it.
#include "app/shell_win.h"

// It also passes text through the ANSI code page: the ANSI-call check must refuse it.
void Title(HWND window) { SetWindowTextA(window, "Quarrane"); }

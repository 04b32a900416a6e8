// A printer-library file that reaches up into the program: the layer check must refuse it.
#include "app/shell_win.h"

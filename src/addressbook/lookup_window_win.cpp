// The "Get Addressee" lookup window arrives with the lookup subsystem's window side.
#include "app/shell_commands_win.h"

namespace qr {

void LookupAddresseeCommand(Shell&) {}

}  // namespace qr

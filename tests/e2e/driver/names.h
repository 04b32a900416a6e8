// Symbolic names for the numbers a scenario gives: the main window's controls
// ("set-text AddresseeZip ...", "button Print") and the program's commands ("command
// Save"). The numbers come from the program's own headers, so a renumbered control
// keeps its name. A bare number still works, for the controls of the other windows
// (the lookup list 100, ...).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "script.h"

namespace qr::e2e {

// The number of a main-window control or of a command named `name`; false for a
// name that is not in the table (and for a number).
bool LookUpControl(std::string_view name, long* number);
bool LookUpCommand(std::string_view name, long* number);

// Checks the control and command arguments of every command before the scenario runs:
// a word there that begins with a letter must be a name from the tables or one of the
// command's own words ("window", "focus", ...). Returns "" or "line N: what is wrong".
std::string CheckNames(const std::vector<Command>& commands);

}  // namespace qr::e2e

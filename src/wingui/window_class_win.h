// Registering the program's window classes: a form background, the arrow cursor.
#pragma once

#include <windows.h>

namespace qr {

// Registers `name` with `proc` once; later calls find it registered and succeed.
// `icon` is the class icon, or nullptr for none.
bool RegisterFormWindowClass(HINSTANCE instance, const char* name, WNDPROC proc,
                             HICON icon = nullptr, HICON smallIcon = nullptr);

}  // namespace qr

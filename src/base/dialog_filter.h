// File-dialog filters are written as "description|pattern|description|pattern";
// the dialog takes them with each "|" a NUL and two NULs at the end.
#pragma once

#include <string>
#include <string_view>

namespace qr {

// The texts between the separators are kept byte for byte.
std::string DialogFilterWithNuls(std::string_view pipeSeparated);

}  // namespace qr

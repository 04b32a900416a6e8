// Reading numbers out of user text, settings values and printer settings.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace qr {

// Reads the number at the start of `text`: blanks and tabs are skipped, an optional
// "+" or "-" follows, then "$" introduces hexadecimal digits, "%" binary digits,
// otherwise decimal digits. Reading stops at the first character that does not
// belong to the number; no digits give 0. Overflow wraps in 64 bits (callers keep
// the low bits they need), so no input is undefined behaviour.
std::int64_t ReadNumber(std::string_view text);

// The same number cut to 32 bits, as stored in positions, copies and font sizes.
inline std::int32_t ReadNumber32(std::string_view text) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(ReadNumber(text)));
}

// The same number when it fits a 32-bit signed integer (-2147483648 to 2147483647,
// whatever its base); nullopt when it does not. No digits give 0.
std::optional<std::int32_t> ReadFittingNumber32(std::string_view text);

// Reads a signed decimal number (blanks and tabs, optional sign, digits) as 64 bits,
// saturating instead of overflowing. Non-numeric text gives 0.
std::int64_t ReadDecimal64(std::string_view text);

}  // namespace qr

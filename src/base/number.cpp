#include "base/number.h"

namespace qr {

namespace {

int DigitValue(char c, int base) {
  int v = -1;
  if (c >= '0' && c <= '9')
    v = c - '0';
  else if (c >= 'a' && c <= 'f')
    v = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F')
    v = c - 'A' + 10;
  return v >= 0 && v < base ? v : -1;
}

}  // namespace

std::int64_t ReadNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i < text.size() && text[i] == '%') {
    base = 2;
    ++i;
  }
  std::uint64_t value = 0;  // unsigned: wraps instead of overflowing
  for (; i < text.size(); ++i) {
    const int d = DigitValue(text[i], base);
    if (d < 0) break;
    value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(d);
  }
  if (negative) value = ~value + 1;
  return static_cast<std::int64_t>(value);
}

std::int64_t ReadDecimal64(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  constexpr std::uint64_t kMax = 9223372036854775807ull;
  std::uint64_t value = 0;  // clamped just past kMax so it cannot overflow
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    const auto d = static_cast<std::uint64_t>(text[i] - '0');
    value = value > (kMax - d) / 10 ? kMax + 1 : value * 10 + d;
  }
  if (negative) return value > kMax ? INT64_MIN : -static_cast<std::int64_t>(value);
  return value > kMax ? INT64_MAX : static_cast<std::int64_t>(value);
}

}  // namespace qr

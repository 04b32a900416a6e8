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

// The parts of a number: its sign, its base and its digits (the text they run over).
struct NumberParts {
  bool negative = false;
  int base = 10;
  std::string_view digits;
};

NumberParts SplitNumber(std::string_view text) {
  NumberParts parts;
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    parts.negative = text[i] == '-';
    ++i;
  }
  if (i < text.size() && text[i] == '$') {
    parts.base = 16;
    ++i;
  } else if (i < text.size() && text[i] == '%') {
    parts.base = 2;
    ++i;
  }
  std::size_t end = i;
  while (end < text.size() && DigitValue(text[end], parts.base) >= 0) ++end;
  parts.digits = text.substr(i, end - i);
  return parts;
}

}  // namespace

std::int64_t ReadNumber(std::string_view text) {
  const NumberParts parts = SplitNumber(text);
  std::uint64_t value = 0;  // unsigned: wraps instead of overflowing
  for (char c : parts.digits) {
    value = value * static_cast<std::uint64_t>(parts.base) +
            static_cast<std::uint64_t>(DigitValue(c, parts.base));
  }
  if (parts.negative) value = ~value + 1;
  return static_cast<std::int64_t>(value);
}

std::optional<std::int32_t> ReadFittingNumber32(std::string_view text) {
  const NumberParts parts = SplitNumber(text);
  const std::uint64_t limit = parts.negative ? 2147483648ull : 2147483647ull;
  std::uint64_t magnitude = 0;
  for (char c : parts.digits) {
    magnitude = magnitude * static_cast<std::uint64_t>(parts.base) +
                static_cast<std::uint64_t>(DigitValue(c, parts.base));
    if (magnitude > limit) return std::nullopt;  // before it could overflow 64 bits
  }
  const auto value = static_cast<std::int64_t>(magnitude);
  return static_cast<std::int32_t>(parts.negative ? -value : value);
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

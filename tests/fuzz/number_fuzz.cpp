// Number reading: any text is read without undefined behaviour (UBSan aborts on signed
// overflow), and the two readers agree wherever both are exact.
#include <charconv>
#include <cstdint>
#include <string_view>

#include "base/number.h"
#include "fuzz_check.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::int64_t wrapped = qr::ReadNumber(text);
  const std::int64_t saturated = qr::ReadDecimal64(text);
  QR_FUZZ_CHECK(qr::ReadNumber32(text) == static_cast<std::int32_t>(wrapped));
  // A number that fits 32 signed bits is the one the wrapping reader sees; a refused one
  // is one the 32-bit range cannot hold (the saturating reader sees it outside, too).
  if (const auto fitting = qr::ReadFittingNumber32(text)) QR_FUZZ_CHECK(*fitting == wrapped);

  // Find the decimal digits the readers look at and read them independently.
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const std::size_t digitsBegin = i;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
  const std::string_view digits = text.substr(digitsBegin, i - digitsBegin);

  std::uint64_t magnitude = 0;
  const auto [end, error] =
      std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
  if (digits.empty()) {
    QR_FUZZ_CHECK(saturated == 0);
    return 0;
  }
  const bool fitsUnsigned = error == std::errc() && end == digits.data() + digits.size();
  constexpr std::uint64_t kMax = INT64_MAX;
  if (fitsUnsigned && magnitude <= 2147483647u) QR_FUZZ_CHECK(qr::ReadFittingNumber32(text));
  if (fitsUnsigned && magnitude <= kMax) {
    const std::int64_t exact =
        negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    QR_FUZZ_CHECK(saturated == exact);
    // "$" and "%" do not follow a sign here (a digit does), so ReadNumber reads decimal too.
    QR_FUZZ_CHECK(wrapped == exact);
  } else if (fitsUnsigned && negative && magnitude == kMax + 1) {
    QR_FUZZ_CHECK(saturated == INT64_MIN);
  } else {
    QR_FUZZ_CHECK(saturated == (negative ? INT64_MIN : INT64_MAX));
  }
  return 0;
}

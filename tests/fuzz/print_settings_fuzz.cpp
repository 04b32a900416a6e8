// The printer settings text ("Orientation=2,Papersize=20"): any text applies without
// undefined behaviour, sets only the thirteen known flags, and applying it twice is the
// same as applying it once.
#include <cstdint>
#include <string_view>

#include "fuzz_check.h"
#include "printlib/print_math.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qr::print;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  constexpr std::uint32_t kKnown = kDmOrientation | kDmPaperSize | kDmPaperLength | kDmPaperWidth |
                                   kDmScale | kDmCopies | kDmDefaultSource | kDmPrintQuality |
                                   kDmColor | kDmDuplex | kDmYResolution | kDmTTOption | kDmCollate;
  DevModeFields once;
  ApplySettings(text, once);
  QR_FUZZ_CHECK((once.fields & ~kKnown) == 0);
  DevModeFields twice = once;
  ApplySettings(text, twice);
  QR_FUZZ_CHECK(twice == once);

  // Flags the driver had already set stay set.
  DevModeFields preset;
  preset.fields = 0x80000000u | kDmCopies;
  ApplySettings(text, preset);
  QR_FUZZ_CHECK((preset.fields & (0x80000000u | kDmCopies)) == (0x80000000u | kDmCopies));
  QR_FUZZ_CHECK((preset.fields & ~(0x80000000u | kDmCopies)) ==
                (once.fields & ~(0x80000000u | kDmCopies)));
  return 0;
}

// One image decoder with the project's own limits (built once per format, QR_FUZZ_FORMAT
// naming it): any file either fails cleanly or gives an image within the size limits whose
// pixel buffer matches its size, and that image can be resampled.
#include <cstdint>
#include <optional>
#include <string_view>

#include "fuzz_check.h"
#include "printlib/image_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qr::image;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::optional<RgbImage> image = Decode(bytes, Format::QR_FUZZ_FORMAT);
  if (!image) return 0;
  QR_FUZZ_CHECK(SizeAllowed(image->width, image->height));
  QR_FUZZ_CHECK(image->rgb.size() == static_cast<std::size_t>(image->width) *
                                         static_cast<std::size_t>(image->height) * 3);
  // Touch every byte, so a buffer that is shorter than it claims shows under ASan.
  unsigned sum = 0;
  for (const std::uint8_t b : image->rgb) sum += b;
  (void)sum;
  if (const auto small = Resize(*image, 3, 2)) {
    QR_FUZZ_CHECK(small->width == 3 && small->height == 2 && small->rgb.size() == 18);
  }
  return 0;
}

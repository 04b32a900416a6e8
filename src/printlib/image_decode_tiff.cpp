// TIFF decoding through libtiff, reading from memory. libtiff reports errors through the
// handlers given at open time (they stay silent here) and by its results.
#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstring>

#include "printlib/image_decode.h"

namespace qr::image {

namespace {

struct Source {
  std::string_view bytes;
  toff_t offset;
};

tmsize_t Read(thandle_t handle, void* out, tmsize_t size) {
  auto* src = static_cast<Source*>(handle);
  if (size <= 0 || src->offset >= src->bytes.size()) return 0;
  const std::size_t count =
      std::min<std::size_t>(static_cast<std::size_t>(size), src->bytes.size() - src->offset);
  std::memcpy(out, src->bytes.data() + src->offset, count);
  src->offset += count;
  return static_cast<tmsize_t>(count);
}

tmsize_t Write(thandle_t, void*, tmsize_t) { return 0; }

toff_t Seek(thandle_t handle, toff_t offset, int whence) {
  auto* src = static_cast<Source*>(handle);
  toff_t base = 0;
  if (whence == SEEK_CUR) base = src->offset;
  if (whence == SEEK_END) base = src->bytes.size();
  const toff_t target = base + offset;  // offsets beyond the end just read nothing
  src->offset = target;
  return target;
}

int Close(thandle_t) { return 0; }
toff_t Size(thandle_t handle) { return static_cast<Source*>(handle)->bytes.size(); }
int Map(thandle_t, void**, toff_t*) { return 0; }
void Unmap(thandle_t, void*, toff_t) {}

int Silent(TIFF*, void*, const char*, const char*, va_list) { return 1; }

struct Closer {
  TIFF* tif;
  ~Closer() {
    if (tif) TIFFClose(tif);
  }
};

}  // namespace

std::optional<RgbImage> DecodeTiff(std::string_view bytes) {
  if (bytes.size() < 8 || !(bytes.substr(0, 4) == std::string_view("II*\0", 4) ||
                            bytes.substr(0, 4) == std::string_view("MM\0*", 4) ||
                            bytes.substr(0, 4) == std::string_view("II+\0", 4) ||
                            bytes.substr(0, 4) == std::string_view("MM\0+", 4))) {
    return std::nullopt;
  }
  TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
  if (!options) return std::nullopt;
  TIFFOpenOptionsSetMaxSingleMemAlloc(options, static_cast<tmsize_t>(kMaxPixelBytes));
  TIFFOpenOptionsSetErrorHandlerExtR(options, Silent, nullptr);
  TIFFOpenOptionsSetWarningHandlerExtR(options, Silent, nullptr);
  Source source{bytes, 0};
  Closer tif{TIFFClientOpenExt("image", "rm", &source, Read, Write, Seek, Close, Size, Map, Unmap,
                               options)};
  TIFFOpenOptionsFree(options);
  if (!tif.tif) return std::nullopt;

  std::uint32_t width = 0;
  std::uint32_t height = 0;
  if (!TIFFGetField(tif.tif, TIFFTAG_IMAGEWIDTH, &width) ||
      !TIFFGetField(tif.tif, TIFFTAG_IMAGELENGTH, &height) || !SizeAllowed(width, height)) {
    return std::nullopt;
  }
  char message[1024] = {};
  if (!TIFFRGBAImageOK(tif.tif, message)) return std::nullopt;

  std::vector<std::uint32_t> raster;
  if (!TryResize(raster, static_cast<std::size_t>(width) * height)) return std::nullopt;
  if (!TIFFReadRGBAImageOriented(tif.tif, width, height, raster.data(), ORIENTATION_TOPLEFT, 1)) {
    return std::nullopt;
  }
  RgbImage image;
  image.width = static_cast<std::int32_t>(width);
  image.height = static_cast<std::int32_t>(height);
  if (!TryResize(image.rgb, raster.size() * 3)) return std::nullopt;
  for (std::size_t i = 0; i < raster.size(); ++i) {
    // Samples come premultiplied by alpha; laying them on white adds (255 - alpha).
    const std::uint32_t p = raster[i];
    const unsigned white = 255 - TIFFGetA(p);
    image.rgb[i * 3] = static_cast<std::uint8_t>(std::min(255u, TIFFGetR(p) + white));
    image.rgb[i * 3 + 1] = static_cast<std::uint8_t>(std::min(255u, TIFFGetG(p) + white));
    image.rgb[i * 3 + 2] = static_cast<std::uint8_t>(std::min(255u, TIFFGetB(p) + white));
  }
  return image;
}

}  // namespace qr::image

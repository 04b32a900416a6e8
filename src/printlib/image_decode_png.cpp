// PNG decoding through libpng (with zlib). Errors leave libpng through its longjmp; only
// trivially destructible objects live in the frame setjmp returns to.
#include <png.h>

#include <csetjmp>
#include <cstring>

#include "printlib/image_decode.h"

namespace qr::image {

namespace {

// Largest single ancillary chunk libpng may allocate (text, profiles and the like).
constexpr png_alloc_size_t kMaxChunkBytes = 8u << 20;
// Most ancillary chunks (text, sPLT, unknown) kept from one file.
constexpr png_uint_32 kMaxCachedChunks = 1000;

struct Reader {
  std::string_view bytes;
  std::size_t offset;
};

void ReadBytes(png_structp png, png_bytep out, png_size_t count) {
  auto* reader = static_cast<Reader*>(png_get_io_ptr(png));
  if (count > reader->bytes.size() - reader->offset) png_error(png, "file ends early");
  std::memcpy(out, reader->bytes.data() + reader->offset, count);
  reader->offset += count;
}

[[noreturn]] void Error(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void Warning(png_structp, png_const_charp) {}

std::uint8_t OnWhite(unsigned value, unsigned alpha) {
  return static_cast<std::uint8_t>((value * alpha + 255 * (255 - alpha) + 127) / 255);
}

// Decodes into `image` through the 4-byte RGBA rows of `work`; both belong to the caller.
bool DecodeInto(std::string_view bytes, RgbImage& image, std::vector<std::uint8_t>& work,
                std::vector<png_bytep>& rows) {
  Reader reader{bytes, 0};
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, Error, Warning);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_set_read_fn(png, &reader, ReadBytes);
  png_set_user_limits(png, static_cast<png_uint_32>(kMaxSide), static_cast<png_uint_32>(kMaxSide));
  png_set_chunk_malloc_max(png, kMaxChunkBytes);
  png_set_chunk_cache_max(png, kMaxCachedChunks);
  png_read_info(png, info);
  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  if (!SizeAllowed(width, height)) png_error(png, "image too large");

  // Everything becomes 8-bit RGBA: palettes and small grey depths expanded, transparency
  // made an alpha channel, 16-bit samples cut to 8, grey spread to RGB, opaque alpha added.
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != static_cast<png_size_t>(width) * 4) {
    png_error(png, "unexpected row layout");
  }
  if (!TryResize(work, static_cast<std::size_t>(width) * height * 4) || !TryResize(rows, height)) {
    png_error(png, "out of memory");
  }
  for (png_uint_32 y = 0; y < height; ++y)
    rows[y] = work.data() + static_cast<std::size_t>(y) * width * 4;
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);

  image.width = static_cast<std::int32_t>(width);
  image.height = static_cast<std::int32_t>(height);
  if (!TryResize(image.rgb, static_cast<std::size_t>(width) * height * 3)) return false;
  const std::size_t count = static_cast<std::size_t>(width) * height;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* in = work.data() + i * 4;
    std::uint8_t* out = image.rgb.data() + i * 3;
    for (int c = 0; c < 3; ++c) out[c] = OnWhite(in[c], in[3]);
  }
  return true;
}

}  // namespace

std::optional<RgbImage> DecodePng(std::string_view bytes) {
  if (bytes.size() < 8 || png_sig_cmp(reinterpret_cast<png_const_bytep>(bytes.data()), 0, 8) != 0) {
    return std::nullopt;
  }
  RgbImage image;
  std::vector<std::uint8_t> work;
  std::vector<png_bytep> rows;
  if (!DecodeInto(bytes, image, work, rows)) return std::nullopt;
  return image;
}

}  // namespace qr::image

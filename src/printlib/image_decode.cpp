// Format detection, BMP decoding and resampling. JPEG, PNG and TIFF have files of their own
// (image_decode_jpeg.cpp, image_decode_png.cpp, image_decode_tiff.cpp).
#include "printlib/image_decode.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <string>

namespace qr::image {

bool SizeAllowed(std::int64_t width, std::int64_t height) {
  return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide &&
         width * height * 4 <= kMaxPixelBytes;
}

Format SniffFormat(std::string_view bytes) {
  auto starts = [&](std::string_view magic) { return bytes.substr(0, magic.size()) == magic; };
  if (starts("\xFF\xD8\xFF")) return Format::kJpeg;
  if (starts("\x89PNG\r\n\x1A\n")) return Format::kPng;
  if (starts(std::string_view("II*\0", 4)) || starts(std::string_view("MM\0*", 4)) ||
      starts(std::string_view("II+\0", 4)) || starts(std::string_view("MM\0+", 4))) {
    return Format::kTiff;
  }
  if (starts("BM")) return Format::kBmp;
  return Format::kUnknown;
}

Format FormatFromFileName(std::string_view fileName) {
  const std::size_t dot = fileName.rfind('.');
  if (dot == std::string_view::npos) return Format::kUnknown;
  std::string ext(fileName.substr(dot + 1));
  for (char& c : ext) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  if (ext == "jpg" || ext == "jpeg") return Format::kJpeg;
  if (ext == "png") return Format::kPng;
  if (ext == "tif" || ext == "tiff") return Format::kTiff;
  if (ext == "bmp") return Format::kBmp;
  return Format::kUnknown;
}

std::optional<RgbImage> Decode(std::string_view bytes, Format format) {
  if (format == Format::kUnknown) format = SniffFormat(bytes);
  switch (format) {
    case Format::kJpeg:
      return DecodeJpeg(bytes);
    case Format::kPng:
      return DecodePng(bytes);
    case Format::kTiff:
      return DecodeTiff(bytes);
    case Format::kBmp:
      return DecodeBmp(bytes);
    case Format::kUnknown:
      break;
  }
  return std::nullopt;
}

std::optional<RgbImage> DecodeFile(std::string_view fileName, std::string_view bytes) {
  return Decode(bytes, FormatFromFileName(fileName));
}

// ---- BMP ----

namespace {

class ByteReader {
 public:
  explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}
  bool Has(std::size_t offset, std::size_t count) const {
    return offset <= bytes_.size() && count <= bytes_.size() - offset;
  }
  std::uint32_t U16(std::size_t offset) const { return Byte(offset) | Byte(offset + 1) << 8; }
  std::uint32_t U32(std::size_t offset) const { return U16(offset) | U16(offset + 2) << 16; }
  std::uint32_t Byte(std::size_t offset) const {
    return static_cast<unsigned char>(bytes_[offset]);
  }

 private:
  std::string_view bytes_;
};

// One colour channel described by a bit mask of a 16- or 32-bit pixel.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  std::uint64_t max = 0;

  explicit Channel(std::uint32_t m) : mask(m) {
    if (mask == 0) return;
    shift = std::countr_zero(mask);
    max = (std::uint64_t{1} << std::popcount(mask >> shift)) - 1;
  }
  std::uint8_t Of(std::uint32_t pixel) const {
    if (max == 0) return 0;
    const std::uint64_t v = ((pixel & mask) >> shift) & max;
    return static_cast<std::uint8_t>((v * 255 + max / 2) / max);
  }
};

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;

}  // namespace

namespace {

std::optional<RgbImage> DecodeBmpPixels(std::string_view bytes) {
  const ByteReader in(bytes);
  if (!in.Has(0, 18) || bytes.substr(0, 2) != "BM") return std::nullopt;
  const std::uint32_t pixelOffset = in.U32(10);
  const std::uint32_t headerSize = in.U32(14);
  if (headerSize < 12 || !in.Has(14, headerSize)) return std::nullopt;

  std::int64_t width = 0;
  std::int64_t height = 0;
  std::uint32_t bits = 0;
  std::uint32_t compression = kBiRgb;
  std::uint32_t paletteCount = 0;
  std::size_t paletteEntryBytes = 4;
  std::uint32_t masks[3] = {0, 0, 0};
  if (headerSize == 12) {  // the old OS/2 core header
    width = in.U16(18);
    height = in.U16(20);
    bits = in.U16(24);
    paletteEntryBytes = 3;
  } else if (headerSize >= 40) {
    width = static_cast<std::int32_t>(in.U32(18));
    height = static_cast<std::int32_t>(in.U32(22));
    bits = in.U16(28);
    compression = in.U32(30);
    paletteCount = in.U32(46);
    if (compression == kBiBitfields) {
      // Masks follow a 40-byte header, or are part of the larger headers.
      if (!in.Has(54, 12)) return std::nullopt;
      for (int i = 0; i < 3; ++i) masks[i] = in.U32(54 + 4 * i);
    }
  } else {
    return std::nullopt;
  }
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (!SizeAllowed(width, height)) return std::nullopt;
  if (compression == kBiBitfields ? (bits != 16 && bits != 32) : compression != kBiRgb) {
    return std::nullopt;  // run-length and embedded JPEG/PNG bitmaps are not supported
  }
  if (compression == kBiRgb && bits == 16) masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
  if (compression == kBiRgb && bits == 32) {
    masks[0] = 0xFF0000, masks[1] = 0x00FF00, masks[2] = 0x0000FF;
  }

  // Palette for 1, 4 and 8 bits, right after the header (and its masks).
  std::vector<std::uint8_t> palette;  // R, G, B per entry
  if (bits == 1 || bits == 4 || bits == 8) {
    const std::uint32_t full = 1u << bits;
    const std::uint32_t count = (paletteCount == 0 || paletteCount > full) ? full : paletteCount;
    const std::size_t start =
        14 + headerSize + (headerSize == 40 && compression == kBiBitfields ? 12 : 0);
    if (!in.Has(start, count * paletteEntryBytes)) return std::nullopt;
    palette.assign(static_cast<std::size_t>(full) * 3, 0);  // missing entries are black
    for (std::uint32_t i = 0; i < count; ++i) {
      const std::size_t e = start + i * paletteEntryBytes;
      palette[i * 3] = static_cast<std::uint8_t>(in.Byte(e + 2));
      palette[i * 3 + 1] = static_cast<std::uint8_t>(in.Byte(e + 1));
      palette[i * 3 + 2] = static_cast<std::uint8_t>(in.Byte(e));
    }
  } else if (bits != 16 && bits != 24 && bits != 32) {
    return std::nullopt;
  }

  const std::size_t stride = static_cast<std::size_t>((width * bits + 31) / 32 * 4);
  if (!in.Has(pixelOffset, stride * static_cast<std::size_t>(height))) return std::nullopt;

  RgbImage image;
  image.width = static_cast<std::int32_t>(width);
  image.height = static_cast<std::int32_t>(height);
  image.rgb.resize(static_cast<std::size_t>(width) * height * 3);
  const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
  for (std::int64_t y = 0; y < height; ++y) {
    const std::size_t row =
        pixelOffset + stride * static_cast<std::size_t>(topDown ? y : height - 1 - y);
    std::uint8_t* out = image.rgb.data() + static_cast<std::size_t>(y) * width * 3;
    for (std::int64_t x = 0; x < width; ++x, out += 3) {
      if (!palette.empty()) {
        const std::size_t bitPos = static_cast<std::size_t>(x) * bits;
        const std::uint32_t byte = in.Byte(row + bitPos / 8);
        const std::uint32_t index = (byte >> (8 - bits - bitPos % 8)) & ((1u << bits) - 1);
        std::copy_n(&palette[index * 3], 3, out);
      } else if (bits == 24) {
        const std::size_t p = row + static_cast<std::size_t>(x) * 3;
        out[0] = static_cast<std::uint8_t>(in.Byte(p + 2));
        out[1] = static_cast<std::uint8_t>(in.Byte(p + 1));
        out[2] = static_cast<std::uint8_t>(in.Byte(p));
      } else {
        const std::size_t p = row + static_cast<std::size_t>(x) * (bits / 8);
        const std::uint32_t value = bits == 16 ? in.U16(p) : in.U32(p);
        out[0] = red.Of(value);
        out[1] = green.Of(value);
        out[2] = blue.Of(value);
      }
    }
  }
  return image;
}

}  // namespace

std::optional<RgbImage> DecodeBmp(std::string_view bytes) {
  try {
    return DecodeBmpPixels(bytes);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

// ---- Resampling ----

namespace {

struct Tap {
  std::int32_t index;
  double weight;
};

// For each of `target` cells, the source cells it covers and by how much (weights sum to 1).
std::vector<std::vector<Tap>> AreaTaps(std::int32_t source, std::int32_t target) {
  std::vector<std::vector<Tap>> taps(static_cast<std::size_t>(target));
  const double scale = static_cast<double>(source) / target;
  for (std::int32_t t = 0; t < target; ++t) {
    const double begin = t * scale;
    const double end = (t + 1) * scale;
    const auto first = static_cast<std::int32_t>(std::floor(begin));
    const auto last = std::min(source - 1, static_cast<std::int32_t>(std::ceil(end)) - 1);
    for (std::int32_t s = first; s <= last; ++s) {
      const double overlap = std::min<double>(end, s + 1) - std::max<double>(begin, s);
      if (overlap > 0) taps[t].push_back({s, overlap / scale});
    }
  }
  return taps;
}

}  // namespace

namespace {

std::optional<RgbImage> ResizePixels(const RgbImage& source, std::int32_t width,
                                     std::int32_t height) {
  if (!SizeAllowed(width, height) || source.width <= 0 || source.height <= 0 ||
      source.rgb.size() != static_cast<std::size_t>(source.width) * source.height * 3) {
    return std::nullopt;
  }
  const auto xTaps = AreaTaps(source.width, width);
  const auto yTaps = AreaTaps(source.height, height);
  RgbImage out;
  out.width = width;
  out.height = height;
  out.rgb.resize(static_cast<std::size_t>(width) * height * 3);
  std::uint8_t* dst = out.rgb.data();
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < width; ++x, dst += 3) {
      double sum[3] = {0, 0, 0};
      for (const Tap& ty : yTaps[y]) {
        for (const Tap& tx : xTaps[x]) {
          const std::uint8_t* p = source.Pixel(tx.index, ty.index);
          const double w = tx.weight * ty.weight;
          for (int c = 0; c < 3; ++c) sum[c] += p[c] * w;
        }
      }
      for (int c = 0; c < 3; ++c) {
        dst[c] = static_cast<std::uint8_t>(std::clamp(std::lround(sum[c]), 0L, 255L));
      }
    }
  }
  return out;
}

}  // namespace

std::optional<RgbImage> Resize(const RgbImage& source, std::int32_t width, std::int32_t height) {
  try {
    return ResizePixels(source, width, height);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace qr::image

#include "image.h"

#include <cstdio>
#include <cstdlib>

namespace qr::e2e {
namespace {

void Put16(std::string* out, unsigned v) {
  out->push_back(char(v & 0xff));
  out->push_back(char((v >> 8) & 0xff));
}
void Put32(std::string* out, std::uint32_t v) {
  Put16(out, v & 0xffff);
  Put16(out, v >> 16);
}
std::uint32_t Get16(std::string_view b, size_t at) {
  return std::uint8_t(b[at]) | (std::uint8_t(b[at + 1]) << 8);
}
std::uint32_t Get32(std::string_view b, size_t at) {
  return Get16(b, at) | (Get16(b, at + 2) << 16);
}

std::string Describe(const std::uint8_t* p) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "#%02X%02X%02X", p[0], p[1], p[2]);
  return buffer;
}

}  // namespace

std::string EncodeBmp(const Image& image) {
  const std::uint32_t row = (std::uint32_t(image.width) * 3 + 3) & ~3u;
  const std::uint32_t data = row * std::uint32_t(image.height);
  std::string out;
  out += "BM";
  Put32(&out, 54 + data);
  Put32(&out, 0);
  Put32(&out, 54);
  Put32(&out, 40);
  Put32(&out, std::uint32_t(image.width));
  Put32(&out, std::uint32_t(image.height));
  Put16(&out, 1);
  Put16(&out, 24);
  Put32(&out, 0);  // BI_RGB
  Put32(&out, data);
  Put32(&out, 2835);  // 72 dpi
  Put32(&out, 2835);
  Put32(&out, 0);
  Put32(&out, 0);
  for (int y = image.height - 1; y >= 0; --y) {
    size_t start = out.size();
    for (int x = 0; x < image.width; ++x) {
      const std::uint8_t* p = image.At(x, y);
      out.push_back(char(p[2]));
      out.push_back(char(p[1]));
      out.push_back(char(p[0]));
    }
    out.resize(start + row, '\0');
  }
  return out;
}

bool DecodeBmp(std::string_view bytes, Image* image, std::string* error) {
  if (bytes.size() < 54 || bytes.substr(0, 2) != "BM") {
    *error = "not a BMP file";
    return false;
  }
  const std::uint32_t offset = Get32(bytes, 10);
  const std::int32_t width = std::int32_t(Get32(bytes, 18));
  const std::int32_t raw_height = std::int32_t(Get32(bytes, 22));
  const unsigned bits = Get16(bytes, 28);
  const std::uint32_t compression = Get32(bytes, 30);
  if ((bits != 24 && bits != 32) || compression != 0 || width <= 0 || raw_height == 0 ||
      width > 100000 || std::abs(raw_height) > 100000) {
    *error = "unsupported BMP (only uncompressed 24/32-bit)";
    return false;
  }
  const int height = std::abs(raw_height);
  const size_t pixel = bits / 8;
  const size_t row = (size_t(width) * pixel + 3) & ~size_t(3);
  if (offset > bytes.size() || (bytes.size() - offset) / row < size_t(height)) {
    *error = "BMP pixel data is truncated";
    return false;
  }
  image->width = width;
  image->height = height;
  image->rgb.assign(size_t(width) * height * 3, 0);
  for (int y = 0; y < height; ++y) {
    const int stored = raw_height > 0 ? height - 1 - y : y;
    const size_t base = offset + size_t(stored) * row;
    for (int x = 0; x < width; ++x) {
      const size_t at = base + size_t(x) * pixel;
      std::uint8_t* p = &image->rgb[(size_t(y) * width + x) * 3];
      p[0] = std::uint8_t(bytes[at + 2]);
      p[1] = std::uint8_t(bytes[at + 1]);
      p[2] = std::uint8_t(bytes[at]);
    }
  }
  return true;
}

bool ParsePixelClass(std::string_view text, PixelClass* out) {
  out->text = std::string(text);
  if (text == "white") {
    out->kind = PixelClass::kWhite;
    return true;
  }
  if (text == "dark") {
    out->kind = PixelClass::kDark;
    return true;
  }
  if (text.size() != 7 || text[0] != '#') return false;
  unsigned value[3];
  for (int i = 0; i < 3; ++i) {
    char* end = nullptr;
    std::string part(text.substr(1 + i * 2, 2));
    value[i] = unsigned(std::strtoul(part.c_str(), &end, 16));
    if (*end != '\0' || part.find_first_of("+- ") != std::string::npos) return false;
  }
  out->kind = PixelClass::kColor;
  out->r = std::uint8_t(value[0]);
  out->g = std::uint8_t(value[1]);
  out->b = std::uint8_t(value[2]);
  return true;
}

bool PixelIs(const PixelClass& c, const std::uint8_t* p) {
  switch (c.kind) {
    case PixelClass::kWhite:
      return p[0] >= 240 && p[1] >= 240 && p[2] >= 240;
    case PixelClass::kDark:
      return (p[0] + p[1] + p[2]) < 3 * 96;
    case PixelClass::kColor:
      return std::abs(p[0] - c.r) <= 16 && std::abs(p[1] - c.g) <= 16 && std::abs(p[2] - c.b) <= 16;
  }
  return false;
}

bool ParseQuantifier(std::string_view text, Quantifier* out) {
  if (text == "all")
    *out = Quantifier::kAll;
  else if (text == "any")
    *out = Quantifier::kAny;
  else if (text == "none")
    *out = Quantifier::kNone;
  else
    return false;
  return true;
}

bool CheckPixels(const Image& image, int x0, int y0, int width, int height, Quantifier quantifier,
                 const PixelClass& pixel_class, std::string* message) {
  if (x0 < 0 || y0 < 0 || width <= 0 || height <= 0 || x0 + width > image.width ||
      y0 + height > image.height) {
    *message = "rectangle " + std::to_string(x0) + "," + std::to_string(y0) + " " +
               std::to_string(width) + "x" + std::to_string(height) + " is not inside the " +
               std::to_string(image.width) + "x" + std::to_string(image.height) + " image";
    return false;
  }
  long matching = 0;
  int first_x = -1, first_y = -1;  // first pixel that breaks an all/none check
  for (int y = y0; y < y0 + height; ++y) {
    for (int x = x0; x < x0 + width; ++x) {
      const bool is = PixelIs(pixel_class, image.At(x, y));
      matching += is;
      const bool offends =
          quantifier == Quantifier::kAll ? !is : quantifier == Quantifier::kNone && is;
      if (offends && first_x < 0) {
        first_x = x;
        first_y = y;
      }
    }
  }
  const long total = long(width) * height;
  bool ok = quantifier == Quantifier::kAny ? matching > 0 : first_x < 0;
  if (!ok) {
    *message = std::to_string(matching) + " of " + std::to_string(total) + " pixels are " +
               pixel_class.text;
    if (first_x >= 0) {
      *message += "; first offending pixel at " + std::to_string(first_x) + "," +
                  std::to_string(first_y) + " is " + Describe(image.At(first_x, first_y));
    }
  }
  return ok;
}

}  // namespace qr::e2e

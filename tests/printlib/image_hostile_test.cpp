// Damaged and hostile image files: each must give a clean failure. The program runs with its
// address space capped (see main), so a decoder that trusted a declared size and allocated
// for it would crash here instead of failing; ctest's timeout catches one that hangs.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <new>

#include "image_samples.h"
#include "printlib/image_decode.h"

#if !defined(_WIN32)
#include <sys/resource.h>
#endif

// AddressSanitizer reserves terabytes of address space for its shadow memory: no cap then.
// GCC says so with __SANITIZE_ADDRESS__, clang through __has_feature.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QR_ADDRESS_SANITIZER 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define QR_ADDRESS_SANITIZER 1
#endif

#if !defined(QR_ADDRESS_SANITIZER)
// Allocations through operator new larger than this fail (the pixel buffers of a decoder
// are; the image libraries' own memory is not, it comes from malloc).
static std::size_t failAllocationsAbove = SIZE_MAX;

void* operator new(std::size_t size) {
  if (size > failAllocationsAbove) throw std::bad_alloc();
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#endif

namespace qr::image {
namespace {

using namespace testing;

// Sets a little-endian TIFF's tag (a LONG or SHORT value in the first IFD) to `value`.
void SetTiffTag(std::string& tiff, std::uint16_t tag, std::uint32_t value) {
  auto u16 = [&](std::size_t o) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(tiff[o]) |
                                      static_cast<unsigned char>(tiff[o + 1]) << 8);
  };
  const std::size_t ifd = u16(4) | u16(6) << 16;
  const std::uint32_t count = u16(ifd);
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::size_t e = ifd + 2 + 12 * i;
    if (u16(e) != tag) continue;
    tiff[e + 2] = 4, tiff[e + 3] = 0;  // type LONG
    for (int b = 0; b < 4; ++b) tiff[e + 8 + b] = static_cast<char>(value >> (8 * b));
    return;
  }
  ADD_FAILURE() << "tag " << tag << " not found";
}

// Sets a baseline JPEG's frame size (the SOF0 marker).
void SetJpegSize(std::string& jpeg, std::uint16_t width, std::uint16_t height) {
  const std::size_t sof = jpeg.find("\xFF\xC0");
  ASSERT_NE(sof, std::string::npos);
  jpeg[sof + 5] = static_cast<char>(height >> 8), jpeg[sof + 6] = static_cast<char>(height);
  jpeg[sof + 7] = static_cast<char>(width >> 8), jpeg[sof + 8] = static_cast<char>(width);
}

std::string Bmp24WithSize(std::int32_t width, std::int32_t height) {
  std::string bmp = EncodeBmp24(Pattern(4, 4));
  for (int i = 0; i < 4; ++i)
    bmp[18 + i] = static_cast<char>(static_cast<std::uint32_t>(width) >> (8 * i));
  for (int i = 0; i < 4; ++i)
    bmp[22 + i] = static_cast<char>(static_cast<std::uint32_t>(height) >> (8 * i));
  return bmp;
}

TEST(HostileImages, TheBombIsAValidPng) {
  // The same construction at a harmless size decodes, so the bombs below fail for their size.
  const auto small = DecodePng(PngBomb(64, 32));
  ASSERT_TRUE(small.has_value());
  EXPECT_EQ(small->width, 64);
  EXPECT_EQ(small->rgb, std::vector<std::uint8_t>(64 * 32 * 3, 0));
}

#if !defined(QR_ADDRESS_SANITIZER)
// Memory that runs out while a valid image is decoded or resized is a failed load: no
// exception leaves the decoder (or crosses a library's C code), and the same image
// decodes once memory is there again.
TEST(HostileImages, RunningOutOfMemoryIsAFailedLoad) {
  const RgbImage picture = Pattern(64, 64);
  const std::pair<const char*, std::string> files[] = {{"png", EncodePng(picture)},
                                                       {"jpeg", EncodeJpeg(picture)},
                                                       {"tiff", EncodeTiff(picture)},
                                                       {"bmp", EncodeBmp24(picture)}};
  for (const auto& [format, bytes] : files) {
    failAllocationsAbove = 4096;
    const bool decoded = Decode(bytes, Format::kUnknown).has_value();
    failAllocationsAbove = SIZE_MAX;
    EXPECT_FALSE(decoded) << format;
    EXPECT_TRUE(Decode(bytes, Format::kUnknown).has_value()) << format;
  }
  failAllocationsAbove = 4096;
  const bool resized = Resize(picture, 200, 100).has_value();
  failAllocationsAbove = SIZE_MAX;
  EXPECT_FALSE(resized);
}
#endif

TEST(HostileImages, FailCleanly) {
  const RgbImage small = Pattern(16, 16);
  const std::string png = EncodePng(small);
  const std::string jpeg = EncodeJpeg(small);
  const std::string tiff = EncodeTiff(small);
  const std::string bmp = EncodeBmp24(small);

  struct Case {
    std::string what;
    std::string bytes;
    Format format;
  };
  std::vector<Case> cases = {
      {"empty png", "", Format::kPng},
      {"empty jpeg", "", Format::kJpeg},
      {"empty tiff", "", Format::kTiff},
      {"empty bmp", "", Format::kBmp},
      {"unknown bytes", "hello, world", Format::kUnknown},
      {"jpeg given to the png decoder", jpeg, Format::kPng},
      {"png given to the jpeg decoder", png, Format::kJpeg},
      {"bmp given to the tiff decoder", bmp, Format::kTiff},
      {"png signature then noise", png.substr(0, 8) + std::string(200, '\x55'), Format::kPng},
      {"jpeg marker then noise", jpeg.substr(0, 3) + std::string(200, '\x55'), Format::kJpeg},
      {"tiff header then noise", tiff.substr(0, 4) + std::string(200, '\x55'), Format::kTiff},
      {"bmp magic then noise", "BM" + std::string(200, '\x55'), Format::kBmp},
  };
  for (int eighths : {1, 3, 5, 7}) {
    auto cut = [&](const std::string& file) { return file.substr(0, file.size() * eighths / 8); };
    const std::string at = " cut at " + std::to_string(eighths) + "/8";
    cases.push_back({"png" + at, cut(png), Format::kPng});
    cases.push_back({"jpeg" + at, cut(jpeg), Format::kJpeg});
    cases.push_back({"tiff" + at, cut(tiff), Format::kTiff});
    cases.push_back({"bmp" + at, cut(bmp), Format::kBmp});
  }

  auto png_sized = [&](std::uint32_t w, std::uint32_t h) {
    std::string p = png;
    SetPngSize(p, w, h);
    return p;
  };
  cases.push_back({"png 0 wide", png_sized(0, 16), Format::kPng});
  cases.push_back({"png 2^31 wide", png_sized(0x7FFFFFFF, 0x7FFFFFFF), Format::kPng});
  cases.push_back(
      {"png 16000 x 16000 declared, 16 x 16 data", png_sized(16000, 16000), Format::kPng});
  cases.push_back({"png bomb 16000 x 16000", PngBomb(16000, 16000), Format::kPng});
  cases.push_back({"png bomb 8200 x 8200", PngBomb(8200, 8200), Format::kPng});

  std::string jpegHuge = jpeg;
  SetJpegSize(jpegHuge, 65000, 65000);
  cases.push_back({"jpeg 65000 x 65000", jpegHuge, Format::kJpeg});
  std::string jpegZero = jpeg;
  SetJpegSize(jpegZero, 0, 16);
  cases.push_back({"jpeg 0 wide", jpegZero, Format::kJpeg});

  for (auto [w, h] :
       {std::pair{1000000000u, 1000000000u}, std::pair{0u, 16u}, std::pair{16000u, 16000u}}) {
    std::string t = tiff;
    SetTiffTag(t, 256, w);
    SetTiffTag(t, 257, h);
    cases.push_back({"tiff " + std::to_string(w) + " x " + std::to_string(h), t, Format::kTiff});
  }
  std::string tiffStrip = tiff;
  SetTiffTag(tiffStrip, 273, 0x7FFFFFF0);  // strip data far past the end of the file
  cases.push_back({"tiff strip past the end", tiffStrip, Format::kTiff});

  cases.push_back({"bmp 2^31-1 wide", Bmp24WithSize(0x7FFFFFFF, 16), Format::kBmp});
  cases.push_back({"bmp -2^31 high", Bmp24WithSize(16, INT32_MIN), Format::kBmp});
  cases.push_back({"bmp 0 wide", Bmp24WithSize(0, 16), Format::kBmp});
  cases.push_back({"bmp 16000 x 16000 declared", Bmp24WithSize(16000, 16000), Format::kBmp});
  std::string bmpOffset = bmp;
  bmpOffset[10] = '\xF0', bmpOffset[11] = '\xFF', bmpOffset[12] = '\xFF', bmpOffset[13] = '\x7F';
  cases.push_back({"bmp pixels past the end", bmpOffset, Format::kBmp});
  std::string bmpHeader = bmp;
  bmpHeader[14] = '\xFF', bmpHeader[15] = '\xFF', bmpHeader[16] = '\xFF', bmpHeader[17] = '\x7F';
  cases.push_back({"bmp header larger than the file", bmpHeader, Format::kBmp});
  std::string bmpRle = bmp;
  bmpRle[30] = 1;  // run-length encoded: not supported
  cases.push_back({"bmp run-length", bmpRle, Format::kBmp});

  for (const Case& c : cases) {
    EXPECT_FALSE(Decode(c.bytes, c.format).has_value()) << c.what;
  }
}

}  // namespace
}  // namespace qr::image

int main(int argc, char** argv) {
#if !defined(_WIN32) && !defined(QR_ADDRESS_SANITIZER)
  // 768 MiB of address space: plenty for this program, too little for any of the hostile
  // files' declared sizes.
  const rlim_t cap = rlim_t{768} << 20;
  rlimit limit{cap, cap};
  setrlimit(RLIMIT_AS, &limit);
#endif
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

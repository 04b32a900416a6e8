// Loading the logo into the image store and making the bitmap the logo box shows.
#include "envelope/logo_image_win.h"

#include <algorithm>
#include <cstdint>
#include "printlib/image_store_win.h"

namespace qr {

LoadedLogo LoadScaledLogo(const std::string& path, bool inUse) {
  const int image = Image_Load(path);
  if (image == 0) return {};
  const float aspect = LogoAspect(Image_Width(image), Image_Height(image));
  if (aspect <= 0.0f || Image_Resize(image, kLogoWidth, ScaledLogoHeight(aspect)) == 0) {
    Image_Free(image);
    return {};
  }
  return {image, aspect, inUse};
}

LoadedLogo LoadLogoForDecision(const LogoDecision& decision, const std::string& placeholder) {
  LoadedLogo logo = LoadScaledLogo(decision.loadPath, decision.inUse);
  if (logo.image != 0) return logo;
  const LogoDecision fallback = FallbackAfterFailedLoad(decision, placeholder);
  return LoadScaledLogo(fallback.loadPath, fallback.inUse);
}

namespace {

// A bitmap of the top `rows` rows of `image`.
HBITMAP TopRowsBitmap(int image, int rows) {
  const auto pixels = Image_Pixels(image);
  if (!pixels || pixels->width <= 0 || pixels->height <= 0) return nullptr;
  const int width = pixels->width;
  const int height = std::min(pixels->height, rows);
  void* bits = nullptr;
  HBITMAP bitmap = Image_CreateTopDownRgbBitmap(width, height, &bits);
  if (!bitmap) return nullptr;
  const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
  auto* out = static_cast<std::uint8_t*>(bits);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* in = pixels->Pixel(0, y);
    std::uint8_t* row = out + stride * static_cast<std::size_t>(y);
    for (int x = 0; x < width; ++x) {  // DIB pixels are B, G, R
      row[3 * x] = in[3 * x + 2];
      row[3 * x + 1] = in[3 * x + 1];
      row[3 * x + 2] = in[3 * x];
    }
  }
  return bitmap;
}

}  // namespace

HBITMAP MakeLogoBoxBitmap(int image, int boxSize) {
  const auto pixels = Image_Pixels(image);
  if (!pixels || pixels->width <= 0 || pixels->height <= 0 || boxSize <= 0) return nullptr;
  if (pixels->width == boxSize) return TopRowsBitmap(image, boxSize);
  // A copy at the box's width; the logo itself stays as it prints.
  const long long height = static_cast<long long>(pixels->height) * boxSize / pixels->width;
  const int copy = Image_Copy(image);
  HBITMAP bitmap = nullptr;
  if (copy != 0 && height > 0 && height <= 0x7FFF &&
      Image_Resize(copy, boxSize, static_cast<int>(height)) != 0) {
    bitmap = TopRowsBitmap(copy, boxSize);
  }
  if (copy != 0) Image_Free(copy);
  return bitmap;
}

std::string PlaceholderPathFor(const std::string& program_folder) {
  std::string folder = program_folder;
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return PlaceholderLogoPath(folder);
}

}  // namespace qr

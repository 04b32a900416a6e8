#include <algorithm>
#include <climits>
#include <cstring>
#include <map>
#include <memory>

#include "base/wide_text_win.h"
#include "printlib/image_store_win.h"
#include "wingui/scoped_win.h"

namespace {

using qr::image::RgbImage;

// One image: a top-down 24-bit DIB section and, while it is being drawn on, a memory
// context with the bitmap selected. Owns both; not copyable.
class StoredImage {
 public:
  StoredImage(HBITMAP bitmap, std::uint8_t* bits, int width, int height)
      : bitmap_(bitmap), bits_(bits), width_(width), height_(height) {}
  StoredImage(const StoredImage&) = delete;
  StoredImage& operator=(const StoredImage&) = delete;
  ~StoredImage() {
    CloseContext();
    DeleteObject(bitmap_);
  }

  // A new image of width x height (size already checked), or nullptr.
  static std::unique_ptr<StoredImage> Make(int width, int height) {
    void* bits = nullptr;
    HBITMAP bitmap = Image_CreateTopDownRgbBitmap(width, height, &bits);
    if (!bitmap) return nullptr;
    return std::make_unique<StoredImage>(bitmap, static_cast<std::uint8_t*>(bits), width, height);
  }

  int width() const { return width_; }
  int height() const { return height_; }
  HBITMAP bitmap() const { return bitmap_; }
  std::size_t Stride() const {
    return (static_cast<std::size_t>(width_) * 3 + 3) & ~std::size_t{3};
  }
  std::uint8_t* Row(int y) { return bits_ + Stride() * static_cast<std::size_t>(y); }

  void Fill(std::uint8_t value) { std::memset(bits_, value, Stride() * height_); }

  void SetPixels(const RgbImage& pixels) {
    for (int y = 0; y < height_; ++y) {
      std::uint8_t* out = Row(y);
      const std::uint8_t* in = pixels.Pixel(0, y);
      for (int x = 0; x < width_; ++x) {
        out[3 * x] = in[3 * x + 2];  // DIB pixels are B, G, R
        out[3 * x + 1] = in[3 * x + 1];
        out[3 * x + 2] = in[3 * x];
      }
    }
  }

  RgbImage Pixels() {
    GdiFlush();  // drawing may still be queued
    RgbImage image;
    image.width = width_;
    image.height = height_;
    image.rgb.resize(static_cast<std::size_t>(width_) * height_ * 3);
    for (int y = 0; y < height_; ++y) {
      const std::uint8_t* in = Row(y);
      std::uint8_t* out = image.rgb.data() + static_cast<std::size_t>(y) * width_ * 3;
      for (int x = 0; x < width_; ++x) {
        out[3 * x] = in[3 * x + 2];
        out[3 * x + 1] = in[3 * x + 1];
        out[3 * x + 2] = in[3 * x];
      }
    }
    return image;
  }

  // Puts the bitmap of `other` in place of this one's (used by resizing).
  void TakeBitmap(StoredImage& other) {
    if (dc_) SelectObject(dc_, other.bitmap_);
    std::swap(bitmap_, other.bitmap_);
    std::swap(bits_, other.bits_);
    std::swap(width_, other.width_);
    std::swap(height_, other.height_);
  }

  HDC OpenContext() {
    if (!dc_) {
      HDC dc = CreateCompatibleDC(nullptr);
      if (!dc) return nullptr;
      HGDIOBJ previous = SelectObject(dc, bitmap_);
      if (!previous || previous == HGDI_ERROR) {
        DeleteDC(dc);
        return nullptr;
      }
      dc_ = dc;
      previousBitmap_ = previous;
    }
    ++openCount_;
    return dc_;
  }

  void ReleaseContext() {
    if (openCount_ > 0 && --openCount_ == 0) CloseContext();
  }

 private:
  void CloseContext() {
    if (!dc_) return;
    SelectObject(dc_, previousBitmap_);
    DeleteDC(dc_);
    dc_ = nullptr;
    previousBitmap_ = nullptr;
    openCount_ = 0;
  }

  HBITMAP bitmap_;
  std::uint8_t* bits_;
  int width_;
  int height_;
  HDC dc_ = nullptr;
  HGDIOBJ previousBitmap_ = nullptr;
  int openCount_ = 0;
};

struct Store {
  std::map<int, std::unique_ptr<StoredImage>> images;
  int lastNumber = 0;

  int Add(std::unique_ptr<StoredImage> image) {
    if (!image) return 0;
    do {  // numbers stay positive and unique even after wrapping around
      lastNumber = lastNumber == INT_MAX ? 1 : lastNumber + 1;
    } while (images.count(lastNumber));
    images.emplace(lastNumber, std::move(image));
    return lastNumber;
  }

  StoredImage* Find(int number) {
    auto it = images.find(number);
    return it == images.end() ? nullptr : it->second.get();
  }
};

Store& TheStore() {
  static Store store;
  return store;
}

// Reads a whole file of at most qr::image::kMaxFileBytes.
bool ReadWholeFile(const std::string& path, std::string* bytes) {
  HANDLE file = CreateFileW(qr::Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  qr::ScopedKernelHandle closer(file);
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size) || size.QuadPart > qr::image::kMaxFileBytes) return false;
  if (!qr::image::TryResize(*bytes, static_cast<std::size_t>(size.QuadPart))) return false;
  std::size_t done = 0;
  while (done < bytes->size()) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes->size() - done, 1 << 24));
    if (!ReadFile(file, bytes->data() + done, want, &got, nullptr) || got == 0) return false;
    done += got;
  }
  return true;
}

}  // namespace

int Image_FromPixels(const RgbImage& pixels) {
  if (!qr::image::SizeAllowed(pixels.width, pixels.height) ||
      pixels.rgb.size() != static_cast<std::size_t>(pixels.width) * pixels.height * 3) {
    return 0;
  }
  auto image = StoredImage::Make(pixels.width, pixels.height);
  if (!image) return 0;
  image->SetPixels(pixels);
  return TheStore().Add(std::move(image));
}

int Image_Load(const std::string& path) {
  // Memory that runs out anywhere on the way is a failed load, not the program's end.
  try {
    std::string bytes;
    if (!ReadWholeFile(path, &bytes)) return 0;
    const auto pixels = qr::image::DecodeFile(path, bytes);
    return pixels ? Image_FromPixels(*pixels) : 0;
  } catch (const std::bad_alloc&) {
    return 0;
  }
}

int Image_Create(int width, int height) {
  if (!qr::image::SizeAllowed(width, height)) return 0;
  auto image = StoredImage::Make(width, height);
  if (!image) return 0;
  image->Fill(0xFF);
  return TheStore().Add(std::move(image));
}

int Image_Copy(int number) {
  StoredImage* image = TheStore().Find(number);
  return image ? Image_FromPixels(image->Pixels()) : 0;
}

int Image_Resize(int number, int width, int height) {
  StoredImage* image = TheStore().Find(number);
  if (!image || !qr::image::SizeAllowed(width, height)) return 0;
  try {
    const auto resized = qr::image::Resize(image->Pixels(), width, height);
    if (!resized) return 0;
    auto replacement = StoredImage::Make(width, height);
    if (!replacement) return 0;
    replacement->SetPixels(*resized);
    image->TakeBitmap(*replacement);  // the old bitmap leaves with `replacement`
    return 1;
  } catch (const std::bad_alloc&) {
    return 0;  // the image stays as it was
  }
}

void Image_Free(int number) { TheStore().images.erase(number); }

bool Image_IsValid(int number) { return TheStore().Find(number) != nullptr; }

int Image_Width(int number) {
  StoredImage* image = TheStore().Find(number);
  return image ? image->width() : 0;
}

int Image_Height(int number) {
  StoredImage* image = TheStore().Find(number);
  return image ? image->height() : 0;
}

int Image_Depth(int number) {
  StoredImage* image = TheStore().Find(number);
  if (!image) return 0;
  BITMAP info{};
  return GetObjectW(image->bitmap(), sizeof info, &info) ? info.bmBitsPixel : 0;
}

HBITMAP Image_Bitmap(int number) {
  StoredImage* image = TheStore().Find(number);
  return image ? image->bitmap() : nullptr;
}

HDC Image_StartDrawing(int number) {
  StoredImage* image = TheStore().Find(number);
  return image ? image->OpenContext() : nullptr;
}

void Image_StopDrawing(int number) {
  if (StoredImage* image = TheStore().Find(number)) image->ReleaseContext();
}

std::optional<RgbImage> Image_Pixels(int number) {
  StoredImage* image = TheStore().Find(number);
  if (!image) return std::nullopt;
  return image->Pixels();
}

int Image_Count() { return static_cast<int>(TheStore().images.size()); }

BITMAPINFO Image_TopDownRgbInfo(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // rows top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

HBITMAP Image_CreateTopDownRgbBitmap(int width, int height, void** bits) {
  const BITMAPINFO info = Image_TopDownRgbInfo(width, height);
  *bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
  if (bitmap && !*bits) {
    DeleteObject(bitmap);
    return nullptr;
  }
  return bitmap;
}

// The image store: images held in memory and named by number (an int > 0; 0 names no
// image). Every image is a 24-bit device-independent bitmap (a DIB section, rows top-down),
// so GDI draws on it through a drawing context and its pixels can be read back directly.
// Win32 only; decoding itself is platform-free (printlib/image_decode.h).
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "printlib/image_decode.h"

// Loads an image file (JPEG, PNG, TIFF or BMP; the decoder is picked by the extension, or by
// the content for other extensions). Returns the new image's number, or 0 when the file is
// missing, larger than qr::image::kMaxFileBytes, damaged or not an image.
int Image_Load(const std::string& path);

// A new white image of width x height pixels, 24 bits deep; 0 when the size is not allowed
// (qr::image::SizeAllowed) or the bitmap cannot be made.
int Image_Create(int width, int height);

// A new image holding the same pixels as `image`; 0 when `image` is not valid.
int Image_Copy(int image);

// Resamples `image` in place to width x height pixels (area averaging). Returns 1, or 0 and
// leaves the image as it was when the image is not valid or the size is not allowed.
int Image_Resize(int image, int width, int height);

// Frees the image and its drawing context; an invalid number is ignored.
void Image_Free(int image);

bool Image_IsValid(int image);
int Image_Width(int image);   // 0 for an invalid image
int Image_Height(int image);  // 0 for an invalid image
int Image_Depth(int image);   // bits per pixel (24); 0 for an invalid image

// The image's bitmap, owned by the store; nullptr for an invalid image.
HBITMAP Image_Bitmap(int image);

// A drawing context with the image's bitmap selected, owned by the store; nullptr for an
// invalid image. Opening an image that is already open gives the same context; it stays
// open until as many Image_StopDrawing calls as Image_StartDrawing calls were made.
HDC Image_StartDrawing(int image);
void Image_StopDrawing(int image);

// A new image holding `pixels`; 0 when their size is not allowed.
int Image_FromPixels(const qr::image::RgbImage& pixels);

// The image's current pixels (after any pending GDI drawing); nullopt for an invalid image.
std::optional<qr::image::RgbImage> Image_Pixels(int image);

// The header of a 24-bit bitmap with rows top-down, the layout of every stored image.
BITMAPINFO Image_TopDownRgbInfo(int width, int height);

// A new 24-bit top-down DIB section of width x height pixels with its bits in `*bits`;
// nullptr when it cannot be made. The caller owns the bitmap.
HBITMAP Image_CreateTopDownRgbBitmap(int width, int height, void** bits);

// Number of images held (for leak checks).
int Image_Count();

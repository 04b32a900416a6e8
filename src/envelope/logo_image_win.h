// The sender logo in the image store: loading the file scaled to 100 pixels wide, the
// bitmap a logo box shows, and the placeholder path. The rules (which files are taken,
// what a cancel does) are envelope/logo.h's.
#pragma once

#include <windows.h>

#include <string>

#include "envelope/logo.h"

namespace qr {

// A logo as loaded into the image store.
struct LoadedLogo {
  int image = 0;        // image store number, 0 when nothing could be loaded
  float aspect = 0.0f;  // height / width of the file as loaded, before scaling
  bool inUse = false;   // a real logo (not the placeholder)
};

// Loads the image file at `path` and scales it in place to 100 pixels wide and
// trunc(aspect x 100) high. A missing or undecodable file, or one too tall to scale,
// gives image 0 and leaves nothing in the store.
LoadedLogo LoadScaledLogo(const std::string& path, bool inUse);

// Loads what `decision` names; when that fails, the placeholder instead (not in use).
// When the placeholder cannot be loaded either, image 0: the box stays empty.
LoadedLogo LoadLogoForDecision(const LogoDecision& decision, const std::string& placeholder);

// A new bitmap holding the top rows (at most 100) of `image`, for the 100 x 100 logo
// box: a logo taller than wide shows its top part. A box of another size (the box at
// another DPI) gets the image scaled to its width first. nullptr for an invalid image.
HBITMAP MakeLogoBoxBitmap(int image, int boxSize = kLogoWidth);

// The placeholder's path for the program folder: the folder, a backslash, then
// "\NoImage.bmp" (so two backslashes stand before the file name).
std::string PlaceholderPathFor(const std::string& program_folder);

}  // namespace qr

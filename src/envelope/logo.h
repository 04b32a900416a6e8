// The sender logo rules: which files are taken, the placeholder image, the scaling to
// the 100-pixel-wide logo, the file dialog's texts and what each choice leads to.
// Loading, scaling and showing the image are the Win32 layer's; it asks these functions
// what to do.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qr {

// The open-file dialog for choosing a logo (no initial path, first filter selected).
inline constexpr std::string_view kLogoDialogTitle = "Sender Logo";
inline constexpr std::string_view kLogoFilter =
    "JPEG |*.jpg| BitMap |*.bmp| PNG |*.png| TIFF |*.tiff ; *.tif";

// Shown (one OK button) when a file of another type is chosen.
inline constexpr std::string_view kUnsupportedFileTitle = "Unsupported File";
inline constexpr std::string_view kUnsupportedFileText = "File Format not supported for images";

// The text after the last "." of the path's file name (the part after the last "\",
// "/" or ":"); empty when the file name has no ".".
std::string_view LogoExtension(std::string_view path);

// "jpg", "bmp", "png", "tiff" or "tif", compared case-sensitively (so "JPG" is not).
bool IsAcceptedLogoExtension(std::string_view extension);

// The start-up folder (which ends with a backslash) followed by "\NoImage.bmp": the
// path holds two backslashes before the file name and is stored and compared as it is.
std::string PlaceholderLogoPath(std::string_view start_folder);

// height / width of the image file as loaded, as a 32-bit float; 0 when the image has
// no width or height (it could not be loaded).
float LogoAspect(std::int32_t width, std::int32_t height);

// The logo is kept scaled to 100 pixels wide and trunc(aspect x 100) high; the height
// is at least 1 so that a very wide image still makes a valid bitmap.
inline constexpr std::int32_t kLogoWidth = 100;
std::int32_t ScaledLogoHeight(float aspect);

// What to load into the logo state, and what to keep as "Logo Filename".
struct LogoDecision {
  std::string fileName;          // the "Logo Filename" value to keep (and save)
  std::string loadPath;          // the image to load and show in the logo box
  bool inUse = false;            // "Yes" only for a real logo
  bool showUnsupported = false;  // show kUnsupportedFile* first
  bool operator==(const LogoDecision&) const = default;
};

// After the open-file dialog: `chosen_path` is the chosen file, empty when cancelled.
// An accepted extension loads the file as the logo. Anything else (cancel, no
// extension, another type) removes the logo: the placeholder is shown and becomes the
// file name; another type also shows the unsupported-file message first. The caller
// saves the book settings afterwards.
LogoDecision DecideChosenLogo(std::string_view chosen_path, std::string_view placeholder);

// At start-up, from the stored "Logo Filename": a stored path other than the
// placeholder is loaded as the logo (without an extension check); otherwise the
// placeholder is shown and becomes the file name.
LogoDecision DecideStartupLogo(std::string_view stored_file_name, std::string_view placeholder);

// When the image of `decision` could not be loaded or decoded: no logo, the placeholder
// is shown instead, and the file name is kept as it was so that nothing the user chose
// is forgotten. If the placeholder cannot be loaded either, the box stays empty.
LogoDecision FallbackAfterFailedLoad(const LogoDecision& decision, std::string_view placeholder);

}  // namespace qr

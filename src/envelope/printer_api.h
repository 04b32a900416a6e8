// The printer library's commands that the envelope code uses, as one interface.
//
// The program hands the envelope code an adapter that forwards each method to the
// matching Print_* command of the printer library (OpenPrinter -> Print_OpenPrinter,
// and so on); tests hand it a recording stand-in. Coordinates are 32-bit floats in
// the library's current unit; handles (device contexts, fonts) travel as 64-bit
// integers so that this header needs no platform types.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "envelope/envelope_size.h"

namespace qr {

// DrawText format bits used by the envelope code.
inline constexpr std::int32_t kTextFormatDraw = 0;         // left-aligned, top
inline constexpr std::int32_t kTextFormatMeasure = 0x400;  // DT_CALCRECT: measure only

// Unit mode 0: coordinates are device pixels (printer dots, preview pixels).
inline constexpr std::int32_t kUnitDevicePixels = 0;

// GetDeviceCaps indexes the envelope code reads.
inline constexpr std::int32_t kCapsHorzRes = 8;
inline constexpr std::int32_t kCapsVertRes = 10;
inline constexpr std::int32_t kCapsLogPixelsX = 88;
inline constexpr std::int32_t kCapsLogPixelsY = 90;
inline constexpr std::int32_t kCapsPhysicalWidth = 110;
inline constexpr std::int32_t kCapsPhysicalHeight = 111;
inline constexpr std::int32_t kCapsPhysicalOffsetX = 112;
inline constexpr std::int32_t kCapsPhysicalOffsetY = 113;

class PrinterApi {
 public:
  virtual ~PrinterApi() = default;

  // Opens the printer `name` (empty: the default printer) with the keyword settings
  // text and the desired access; returns the new device context, 0 on failure.
  virtual std::int64_t OpenPrinter(const std::string& name, const std::string& settings,
                                   std::int32_t access) = 0;
  // Sets the unit of all coordinates; returns the previous unit mode.
  virtual std::int32_t SetUnit(std::int32_t mode) = 0;
  // Starts a job and its page; returns the job identifier, 0 on failure.
  virtual std::int32_t StartPrinting(const std::string& document, const std::string& output) = 0;
  // Selects a font of `size` points with style bits (0x100 bold, 0x200 italic) and an
  // angle in tenths of a degree; returns the current font handle.
  virtual std::int64_t SetFont(const std::string& face, std::int32_t size, std::int32_t style,
                               std::int32_t angle) = 0;
  // Draws (format 0) or measures (format 0x400) multi-line text in the box x, y, w, h.
  // Each result pointer that is not null receives the box as DrawText left it.
  // Returns the text height in units.
  virtual float Text(float x, float y, float w, float h, const std::string& text,
                     std::int32_t format, float* left, float* top, float* width, float* height) = 0;
  // Draws image `image` of the image store scaled into the rectangle; nonzero on success.
  virtual std::int32_t Image(std::int32_t image, float x, float y, float w, float h) = 0;
  // Ends the page and the job; 1 when the job ended well, else 0.
  virtual std::int32_t StopPrinting() = 0;
  // Ends the page and starts the next one of the same job; 1, or 0 on failure.
  virtual std::int32_t NewPage() = 0;
  // Cancels the job: what was spooled of it is dropped; 1, or 0 on failure.
  virtual std::int32_t AbortPrinting() = 0;
  // Starts drawing into an off-screen page `width` pixels wide; returns its drawing
  // context, 0 when no preview could be made.
  virtual std::int64_t StartPreview(std::int32_t width) = 0;
  // Ends the preview; returns the printer's device context, 0 when none was running.
  virtual std::int64_t StopPreview() = 0;
  // Image number of preview page `page`, 0 when it does not exist.
  virtual std::int32_t GetPreviewImage(std::int32_t page) = 0;
  // GetDeviceCaps of the current device (the preview page while a preview runs).
  virtual std::int32_t GetDeviceCaps(std::int32_t index) = 0;
  // The papers the open printer's driver offers; empty when it tells none.
  virtual std::vector<DriverPaper> Papers() = 0;
  // Makes the pen a solid black line `width` units wide; returns the pen handle.
  virtual std::int64_t SetLineWidth(float width) = 0;
  // A line from (x1, y1) to (x2, y2) with the current pen; nonzero on success.
  virtual std::int32_t Line(float x1, float y1, float x2, float y2) = 0;
};

}  // namespace qr

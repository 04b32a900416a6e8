// The envelope code's printer interface over the real printer library: every method
// forwards to the matching Print_* command of printlib/printer_lib_win.h.
#pragma once

#include "envelope/printer_api.h"

namespace qr {

// Open to subclassing: a test puts another printer in the place of the default one.
class PrinterLibApi : public PrinterApi {
 public:
  std::int64_t OpenPrinter(const std::string& name, const std::string& settings,
                           std::int32_t access) override;
  std::int32_t SetUnit(std::int32_t mode) override;
  std::int32_t StartPrinting(const std::string& document, const std::string& output) override;
  std::int64_t SetFont(const std::string& face, std::int32_t size, std::int32_t style,
                       std::int32_t angle) override;
  float Text(float x, float y, float w, float h, const std::string& text, std::int32_t format,
             float* left, float* top, float* width, float* height) override;
  std::int32_t Image(std::int32_t image, float x, float y, float w, float h) override;
  std::int32_t StopPrinting() override;
  std::int32_t NewPage() override;
  std::int32_t AbortPrinting() override;
  std::int64_t StartPreview(std::int32_t width) override;
  std::int64_t StopPreview() override;
  std::int32_t GetPreviewImage(std::int32_t page) override;
  std::int32_t GetDeviceCaps(std::int32_t index) override;
  std::vector<DriverPaper> Papers() override;
  std::int64_t SetLineWidth(float width) override;
  std::int32_t Line(float x1, float y1, float x2, float y2) override;
};

}  // namespace qr

#include <cstdint>

#include "printlib/printer_lib_win.h"
// winspool.h maps OpenPrinter to OpenPrinterA, which would rename the interface's method.
#undef OpenPrinter

#include "envelope/printer_api_win.h"

namespace qr {
namespace {

// Handles travel through the interface as plain integers.
template <typename Handle>
std::int64_t HandleValue(Handle handle) {
  return static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(handle));
}

}  // namespace

std::int64_t PrinterLibApi::OpenPrinter(const std::string& name, const std::string& settings,
                                        std::int32_t access) {
  return HandleValue(Print_OpenPrinter(name, settings, access));
}

std::int32_t PrinterLibApi::SetUnit(std::int32_t mode) { return Print_SetUnit(mode); }

std::int32_t PrinterLibApi::StartPrinting(const std::string& document, const std::string& output) {
  return Print_StartPrinting(document, output);
}

std::int64_t PrinterLibApi::SetFont(const std::string& face, std::int32_t size, std::int32_t style,
                                    std::int32_t angle) {
  return HandleValue(Print_SetFont(face, size, style, angle));
}

float PrinterLibApi::Text(float x, float y, float w, float h, const std::string& text,
                          std::int32_t format, float* left, float* top, float* width,
                          float* height) {
  return Print_Text(x, y, w, h, text, format, left, top, width, height);
}

std::int32_t PrinterLibApi::Image(std::int32_t image, float x, float y, float w, float h) {
  return Print_Image(image, x, y, w, h);
}

std::int32_t PrinterLibApi::StopPrinting() { return Print_StopPrinting(); }

std::int32_t PrinterLibApi::NewPage() { return Print_NewPage(); }

std::int32_t PrinterLibApi::AbortPrinting() { return Print_AbortPrinting(); }

std::int64_t PrinterLibApi::StartPreview(std::int32_t width) {
  return HandleValue(Print_StartPreview(width));
}

std::int64_t PrinterLibApi::StopPreview() { return HandleValue(Print_StopPreview()); }

std::int32_t PrinterLibApi::GetPreviewImage(std::int32_t page) {
  return Print_GetPreviewImage(page);
}

std::int32_t PrinterLibApi::GetDeviceCaps(std::int32_t index) { return Print_GetDeviceCaps(index); }

std::vector<DriverPaper> PrinterLibApi::Papers() {
  std::vector<DriverPaper> papers;
  for (const Print_Paper& p : Print_GetPapers()) papers.push_back({p.code, p.width, p.length});
  return papers;
}

std::int64_t PrinterLibApi::SetLineWidth(float width) {
  constexpr DWORD kSolid = PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_MITER;
  return HandleValue(Print_CreatePen(kSolid, width, RGB(0, 0, 0), 0, nullptr));
}

std::int32_t PrinterLibApi::Line(float x1, float y1, float x2, float y2) {
  return Print_Line(x1, y1, x2, y2);
}

}  // namespace qr

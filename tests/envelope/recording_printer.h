// A stand-in for the printer library that writes down every call as one line of text
// and measures text the way the library does in device-pixel units: the measured box
// starts at the rounded point (halves to even) and is 10 pixels wide per character of
// the longest line and 20 pixels high per line.
#pragma once

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "envelope/printer_api.h"

namespace qr::testing {

class RecordingPrinter : public PrinterApi {
 public:
  std::vector<std::string> calls;
  std::int32_t start_printing_result = 7;
  std::int32_t stop_printing_result = 1;
  int failing_new_page = 0;  // the NewPage call (counted from 1) that fails; 0: none
  int new_pages = 0;
  std::int64_t start_preview_result = 0x5000;
  std::int32_t preview_image = 42;
  // GetDeviceCaps answers by index; an index not listed answers 600. Opening the
  // printer with a settings text listed in caps_after_open replaces them.
  std::map<std::int32_t, std::int32_t> caps;
  std::map<std::string, std::map<std::int32_t, std::int32_t>> caps_after_open;
  std::vector<DriverPaper> papers;

  std::int64_t OpenPrinter(const std::string& name, const std::string& settings,
                           std::int32_t access) override {
    Record("OpenPrinter(\"" + name + "\", \"" + settings + "\", " + std::to_string(access) + ")");
    if (const auto it = caps_after_open.find(settings); it != caps_after_open.end())
      caps = it->second;
    return 0x1000;
  }
  std::int32_t SetUnit(std::int32_t mode) override {
    Record("SetUnit(" + std::to_string(mode) + ")");
    return 2;
  }
  std::int32_t StartPrinting(const std::string& document, const std::string& output) override {
    Record("StartPrinting(\"" + document + "\", \"" + output + "\")");
    return start_printing_result;
  }
  std::int64_t SetFont(const std::string& face, std::int32_t size, std::int32_t style,
                       std::int32_t angle) override {
    char style_hex[16];
    std::snprintf(style_hex, sizeof style_hex, "0x%x", static_cast<unsigned>(style));
    Record("SetFont(\"" + face + "\", " + std::to_string(size) + ", " + style_hex + ", " +
           std::to_string(angle) + ")");
    return 0x2000;
  }
  float Text(float x, float y, float w, float h, const std::string& text, std::int32_t format,
             float* left, float* top, float* width, float* height) override {
    Record("Text(" + Num(x) + ", " + Num(y) + ", " + Num(w) + ", " + Num(h) + ", \"" +
           Escaped(text) + "\", " + std::to_string(format) + ")");
    std::size_t lines = 1, longest = 0, current = 0;
    for (char c : text) {
      if (c == '\n') {
        ++lines;
        current = 0;
      } else if (++current > longest) {
        longest = current;
      }
    }
    const float measured_height = 20.0f * static_cast<float>(lines);
    if (left) *left = std::nearbyint(x);
    if (top) *top = std::nearbyint(y);
    if (width) *width = 10.0f * static_cast<float>(longest);
    if (height) *height = measured_height;
    return measured_height;
  }
  std::int32_t Image(std::int32_t image, float x, float y, float w, float h) override {
    Record("Image(" + std::to_string(image) + ", " + Num(x) + ", " + Num(y) + ", " + Num(w) + ", " +
           Num(h) + ")");
    return 1;
  }
  std::int32_t StopPrinting() override {
    Record("StopPrinting()");
    return stop_printing_result;
  }
  std::int32_t NewPage() override {
    Record("NewPage()");
    return ++new_pages == failing_new_page ? 0 : 1;
  }
  std::int32_t AbortPrinting() override {
    Record("AbortPrinting()");
    return 1;
  }
  std::int64_t StartPreview(std::int32_t width) override {
    Record("StartPreview(" + std::to_string(width) + ")");
    return start_preview_result;
  }
  std::int64_t StopPreview() override {
    Record("StopPreview()");
    return 0x1000;
  }
  std::int32_t GetPreviewImage(std::int32_t page) override {
    Record("GetPreviewImage(" + std::to_string(page) + ")");
    return page == 0 ? preview_image : 0;
  }
  std::int32_t GetDeviceCaps(std::int32_t index) override {
    Record("GetDeviceCaps(" + std::to_string(index) + ")");
    const auto it = caps.find(index);
    return it == caps.end() ? 600 : it->second;
  }
  std::vector<DriverPaper> Papers() override {
    Record("Papers()");
    return papers;
  }
  std::int64_t SetLineWidth(float width) override {
    Record("SetLineWidth(" + Num(width) + ")");
    return 0x3000;
  }
  std::int32_t Line(float x1, float y1, float x2, float y2) override {
    Record("Line(" + Num(x1) + ", " + Num(y1) + ", " + Num(x2) + ", " + Num(y2) + ")");
    return 1;
  }

 private:
  void Record(std::string call) { calls.push_back(std::move(call)); }

  static std::string Num(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    return text;
  }
  static std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) out += c == '\n' ? std::string("|") : std::string(1, c);
    return out;
  }
};

}  // namespace qr::testing

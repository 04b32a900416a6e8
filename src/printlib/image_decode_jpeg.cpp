// JPEG decoding through libjpeg. Errors leave libjpeg through error_exit with a longjmp
// back here; only trivially destructible objects live between setjmp and the library calls.
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include "printlib/image_decode.h"

// jpeglib.h needs FILE and size_t declared before it.
#include <jerror.h>
#include <jpeglib.h>

namespace qr::image {

namespace {

// Progressive files can hold any number of scans, each costing a pass over the whole
// image; a file with more than this many is treated as hostile.
constexpr int kMaxScans = 500;

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  bool truncated;
};

[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  std::longjmp(err->jump, 1);
}

void EmitMessage(j_common_ptr cinfo, int level) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  // A file that ends early makes libjpeg invent the rest of the picture; treat it as
  // damaged instead of showing a half-grey image.
  if (level < 0 && err->base.msg_code == JWRN_JPEG_EOF) err->truncated = true;
}

void OutputMessage(j_common_ptr) {}  // nothing goes to stderr

void CheckScanCount(j_common_ptr cinfo) {
  if (!cinfo->is_decompressor) return;
  auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (d->input_scan_number > kMaxScans) ERREXIT(cinfo, JERR_NOT_COMPILED);
}

std::uint8_t Mul255(unsigned a, unsigned b) {
  return static_cast<std::uint8_t>((a * b + 127) / 255);
}

// Decodes into `image`, using `row` for one scan line. Both belong to the caller so that
// no object with a destructor lives in the frame that setjmp returns to.
bool DecodeInto(std::string_view bytes, RgbImage& image, std::vector<std::uint8_t>& row) {
  jpeg_decompress_struct cinfo;
  ErrorManager err;
  jpeg_progress_mgr progress;
  std::memset(&cinfo, 0, sizeof cinfo);
  std::memset(&progress, 0, sizeof progress);

  cinfo.err = jpeg_std_error(&err.base);
  err.base.error_exit = ErrorExit;
  err.base.emit_message = EmitMessage;
  err.base.output_message = OutputMessage;
  err.truncated = false;
  progress.progress_monitor = CheckScanCount;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  cinfo.mem->max_memory_to_use = static_cast<long>(kMaxPixelBytes);
  cinfo.progress = &progress;
  jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.data()),
               static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&cinfo, TRUE);
  if (!SizeAllowed(cinfo.image_width, cinfo.image_height)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_start_decompress(&cinfo);
  const unsigned components = static_cast<unsigned>(cinfo.output_components);
  image.width = static_cast<std::int32_t>(cinfo.output_width);
  image.height = static_cast<std::int32_t>(cinfo.output_height);
  if (!TryResize(image.rgb, static_cast<std::size_t>(image.width) * image.height * 3) ||
      !TryResize(row, static_cast<std::size_t>(image.width) * components)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  while (cinfo.output_scanline < cinfo.output_height) {
    const std::size_t y = cinfo.output_scanline;
    JSAMPROW rows[1] = {row.data()};
    jpeg_read_scanlines(&cinfo, rows, 1);
    std::uint8_t* out = image.rgb.data() + y * image.width * 3;
    for (std::int32_t x = 0; x < image.width; ++x) {
      const std::uint8_t* in = row.data() + static_cast<std::size_t>(x) * components;
      if (cmyk) {
        // Files with CMYK data store it inverted (as Adobe writes it): 255 is no ink.
        out[3 * x] = Mul255(in[0], in[3]);
        out[3 * x + 1] = Mul255(in[1], in[3]);
        out[3 * x + 2] = Mul255(in[2], in[3]);
      } else {
        std::memcpy(out + 3 * x, in, 3);
      }
    }
  }
  jpeg_finish_decompress(&cinfo);
  const bool truncated = err.truncated;
  jpeg_destroy_decompress(&cinfo);
  return !truncated;
}

}  // namespace

std::optional<RgbImage> DecodeJpeg(std::string_view bytes) {
  if (bytes.size() < 3 || static_cast<unsigned char>(bytes[0]) != 0xFF ||
      static_cast<unsigned char>(bytes[1]) != 0xD8) {
    return std::nullopt;
  }
  RgbImage image;
  std::vector<std::uint8_t> row;
  if (!DecodeInto(bytes, image, row)) return std::nullopt;
  return image;
}

}  // namespace qr::image

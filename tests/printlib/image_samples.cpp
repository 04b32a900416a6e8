#include "image_samples.h"

#include <jpeglib.h>
#include <png.h>
#include <tiffio.h>
#include <zlib.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace qr::image::testing {

RgbImage Pattern(std::int32_t width, std::int32_t height) {
  RgbImage image;
  image.width = width;
  image.height = height;
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < width; ++x) {
      image.rgb.push_back(static_cast<std::uint8_t>(x * 40));
      image.rgb.push_back(static_cast<std::uint8_t>(y * 40));
      image.rgb.push_back(200);
    }
  }
  return image;
}

std::string EncodeJpeg(const RgbImage& image, int quality) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(image.width);
  cinfo.image_height = static_cast<JDIMENSION>(image.height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  // No chroma subsampling, so that colours survive per pixel.
  for (int i = 0; i < 3; ++i)
    cinfo.comp_info[i].h_samp_factor = cinfo.comp_info[i].v_samp_factor = 1;
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row =
        const_cast<JSAMPROW>(image.Pixel(0, static_cast<std::int32_t>(cinfo.next_scanline)));
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  std::string out(reinterpret_cast<char*>(buffer), size);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  return out;
}

namespace {
void AppendBytes(png_structp png, png_bytep data, png_size_t size) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), size);
}
void NoFlush(png_structp) {}

void AppendChunk(std::string& out, const char* type, const std::string& data) {
  std::string body = std::string(type, 4) + data;
  std::string len(4, '\0');
  PutBigEndian32(len, 0, static_cast<std::uint32_t>(data.size()));
  std::string crc(4, '\0');
  PutBigEndian32(crc, 0,
                 static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.data()),
                                                  static_cast<uInt>(body.size()))));
  out += len + body + crc;
}
}  // namespace

std::string EncodePng(const RgbImage& image) {
  std::string out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &out, AppendBytes, NoFlush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
               static_cast<png_uint_32>(image.height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (std::int32_t y = 0; y < image.height; ++y) {
    png_write_row(png, const_cast<png_bytep>(image.Pixel(0, y)));
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

std::string PngBomb(std::uint32_t width, std::uint32_t height) {
  std::string out("\x89PNG\r\n\x1A\n", 8);
  std::string ihdr(13, '\0');
  PutBigEndian32(ihdr, 0, width);
  PutBigEndian32(ihdr, 4, height);
  ihdr[8] = 8;  // 8-bit
  ihdr[9] = 0;  // grey
  AppendChunk(out, "IHDR", ihdr);
  // A zlib stream of (width + 1) * height zero bytes, built from one compressed block of
  // 1 MiB of zeros repeated: each block ends byte-aligned and refers to nothing before it.
  auto rawBlock = [](std::size_t zeroCount, int flush) {
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    std::vector<unsigned char> zeros(zeroCount, 0);
    std::vector<unsigned char> buffer(zeroCount / 100 + 1024);
    z.next_in = zeros.data();
    z.avail_in = static_cast<uInt>(zeros.size());
    z.next_out = buffer.data();
    z.avail_out = static_cast<uInt>(buffer.size());
    deflate(&z, flush);
    std::string block(reinterpret_cast<char*>(buffer.data()), buffer.size() - z.avail_out);
    deflateEnd(&z);
    return block;
  };
  const std::uint64_t total = static_cast<std::uint64_t>(width + 1) * height;
  const std::size_t piece = 1 << 20;
  const std::string block = rawBlock(piece, Z_FULL_FLUSH);
  std::string idat("\x78\x01", 2);
  for (std::uint64_t i = 0; i < total / piece; ++i) idat += block;
  idat += rawBlock(static_cast<std::size_t>(total % piece), Z_FINISH);
  // Adler-32 of `total` zeros: a = 1, b = total mod 65521.
  std::string adler(4, '\0');
  PutBigEndian32(adler, 0, static_cast<std::uint32_t>((total % 65521) << 16 | 1));
  idat += adler;
  AppendChunk(out, "IDAT", idat);
  AppendChunk(out, "IEND", "");
  return out;
}

void PutBigEndian32(std::string& bytes, std::size_t offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<char>(value >> (24 - 8 * i));
}

void SetPngSize(std::string& png, std::uint32_t width, std::uint32_t height) {
  PutBigEndian32(png, 16, width);
  PutBigEndian32(png, 20, height);
  const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(png.data() + 12), 17);
  PutBigEndian32(png, 29, static_cast<std::uint32_t>(crc));
}

namespace {
struct Sink {
  std::string bytes;
  toff_t offset = 0;
};
tmsize_t SinkRead(thandle_t, void*, tmsize_t) { return 0; }
tmsize_t SinkWrite(thandle_t h, void* data, tmsize_t size) {
  auto* s = static_cast<Sink*>(h);
  if (s->bytes.size() < s->offset + size) s->bytes.resize(s->offset + size);
  std::memcpy(s->bytes.data() + s->offset, data, static_cast<std::size_t>(size));
  s->offset += size;
  return size;
}
toff_t SinkSeek(thandle_t h, toff_t off, int whence) {
  auto* s = static_cast<Sink*>(h);
  s->offset = (whence == SEEK_SET ? 0 : whence == SEEK_CUR ? s->offset : s->bytes.size()) + off;
  return s->offset;
}
int SinkClose(thandle_t) { return 0; }
toff_t SinkSize(thandle_t h) { return static_cast<Sink*>(h)->bytes.size(); }
int SinkMap(thandle_t, void**, toff_t*) { return 0; }
void SinkUnmap(thandle_t, void*, toff_t) {}
}  // namespace

std::string EncodeTiff(const RgbImage& image) {
  Sink sink;
  TIFF* tif = TIFFClientOpen("out", "w", &sink, SinkRead, SinkWrite, SinkSeek, SinkClose, SinkSize,
                             SinkMap, SinkUnmap);
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(image.width));
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(image.height));
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 1);
  for (std::int32_t y = 0; y < image.height; ++y) {
    TIFFWriteScanline(tif, const_cast<std::uint8_t*>(image.Pixel(0, y)), static_cast<uint32_t>(y),
                      0);
  }
  TIFFClose(tif);
  return sink.bytes;
}

std::string EncodeBmp24(const RgbImage& image) {
  const std::uint32_t stride = (static_cast<std::uint32_t>(image.width) * 3 + 3) & ~3u;
  const std::uint32_t dataSize = stride * static_cast<std::uint32_t>(image.height);
  std::string out(54 + dataSize, '\0');
  auto le32 = [&](std::size_t off, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out[off + i] = static_cast<char>(v >> (8 * i));
  };
  out[0] = 'B';
  out[1] = 'M';
  le32(2, static_cast<std::uint32_t>(out.size()));
  le32(10, 54);
  le32(14, 40);
  le32(18, static_cast<std::uint32_t>(image.width));
  le32(22, static_cast<std::uint32_t>(image.height));  // bottom-up
  out[26] = 1;
  out[28] = 24;
  for (std::int32_t y = 0; y < image.height; ++y) {
    std::size_t row = 54 + stride * static_cast<std::size_t>(image.height - 1 - y);
    for (std::int32_t x = 0; x < image.width; ++x) {
      const std::uint8_t* p = image.Pixel(x, y);
      out[row + 3 * x] = static_cast<char>(p[2]);
      out[row + 3 * x + 1] = static_cast<char>(p[1]);
      out[row + 3 * x + 2] = static_cast<char>(p[0]);
    }
  }
  return out;
}

}  // namespace qr::image::testing

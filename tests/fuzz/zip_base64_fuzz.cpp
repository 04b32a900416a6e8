// The ZIP database's Base64 records: the lenient decoder takes any text without reading
// past it, gives back exactly what a standard encoder put in, and the database built from
// any file answers look-ups from the bucket the ZIP belongs to.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "addressbook/zip_database.h"
#include "fuzz_check.h"

namespace {

// Standard Base64 with padding; `urlSafe` uses "-" and "_" for 62 and 63.
std::string Encode(std::string_view bytes, bool urlSafe) {
  const char* alphabet = urlSafe
                             ? "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_"
                             : "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  std::size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    const std::uint32_t v = static_cast<std::uint8_t>(bytes[i]) << 16 |
                            static_cast<std::uint8_t>(bytes[i + 1]) << 8 |
                            static_cast<std::uint8_t>(bytes[i + 2]);
    for (int shift = 18; shift >= 0; shift -= 6) out += alphabet[(v >> shift) & 63];
  }
  const std::size_t rest = bytes.size() - i;
  if (rest > 0) {
    std::uint32_t v = static_cast<std::uint8_t>(bytes[i]) << 16;
    if (rest == 2) v |= static_cast<std::uint8_t>(bytes[i + 1]) << 8;
    out += alphabet[(v >> 18) & 63];
    out += alphabet[(v >> 12) & 63];
    out += rest == 2 ? alphabet[(v >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  // Any text: never more than three bytes out for four characters in.
  const std::string decoded = qr::DecodeBase64(text);
  QR_FUZZ_CHECK(decoded.size() <= (size / 4) * 3);

  // What a standard encoder wrote comes back byte for byte, line breaks or not.
  FuzzedDataProvider input(data, size);
  const bool urlSafe = input.ConsumeBool();
  const std::string record = input.ConsumeRandomLengthString(256);
  const std::string encoded = Encode(record, urlSafe);
  QR_FUZZ_CHECK(qr::DecodeBase64(encoded) == record);
  std::string wrapped;
  for (std::size_t i = 0; i < encoded.size(); i += 4) wrapped += encoded.substr(i, 4) + "\r\n";
  QR_FUZZ_CHECK(qr::DecodeBase64(wrapped) == record);

  // A database made of the remaining bytes: each entry sits in the bucket of its ZIP, and
  // a look-up of that ZIP finds an entry with an equal ZIP.
  const std::string file = input.ConsumeRemainingBytesAsString();
  const qr::ZipDatabase database = qr::LoadZipDatabase(file);
  for (int b = 0; b < 10; ++b) {
    for (const qr::ZipEntry& entry : database.buckets[b]) {
      QR_FUZZ_CHECK(qr::ZipBucketIndex(entry.zip) == b);
      if (entry.zip.empty() || entry.zip.size() > qr::kZipLookupLength) continue;
      const qr::ZipEntry* found = qr::FindZipEntry(database, entry.zip);
      QR_FUZZ_CHECK(found != nullptr && found->zip == entry.zip);
    }
  }
  return 0;
}

#include "base/letter_case.h"

#include <array>

namespace qr {

namespace {

struct CaseTables {
  std::array<unsigned char, 256> upper{};
  std::array<unsigned char, 256> lower{};
};

constexpr CaseTables MakeCaseTables() {
  CaseTables t;
  for (int c = 0; c < 256; ++c) t.upper[c] = t.lower[c] = static_cast<unsigned char>(c);
  auto pair = [&t](int upper, int lower) {
    t.upper[lower] = static_cast<unsigned char>(upper);
    t.lower[upper] = static_cast<unsigned char>(lower);
  };
  for (int c = 'A'; c <= 'Z'; ++c) pair(c, c + 0x20);
  for (int c = 0xC0; c <= 0xDE; ++c) {
    if (c != 0xD7) pair(c, c + 0x20);
  }
  pair(0x8A, 0x9A);  // S with caron
  pair(0x8C, 0x9C);  // OE
  pair(0x8E, 0x9E);  // Z with caron
  pair(0x9F, 0xFF);  // Y with diaeresis
  return t;
}

constexpr CaseTables kCase = MakeCaseTables();

}  // namespace

unsigned char UpperCase1252(unsigned char c) { return kCase.upper[c]; }
unsigned char LowerCase1252(unsigned char c) { return kCase.lower[c]; }

}  // namespace qr

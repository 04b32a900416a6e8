// Letter case in the single-byte Western code page (Windows-1252), the program's code
// page: one table of upper- and lower-case pairs for every caller.
#pragma once

namespace qr {

// The pairs: A-Z and a-z; the accented capitals 0xC0-0xDE (but not the multiplication
// sign 0xD7) and 0xE0-0xFE (but not the division sign 0xF7); 0x8A, 0x8C, 0x8E and 0x9F
// with 0x9A, 0x9C, 0x9E and 0xFF. Any other byte is its own upper and lower case.
unsigned char UpperCase1252(unsigned char c);
unsigned char LowerCase1252(unsigned char c);

}  // namespace qr

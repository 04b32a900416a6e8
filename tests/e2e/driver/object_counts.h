// The live GDI and USER objects of one process, as qrobjects.dll counts them inside
// the program under test (object_probe_win.cpp) and hands them to the driver.
#pragma once

#include <cstdint>

namespace qr::e2e {

struct ObjectCounts {
  std::uint32_t gdi = 0;           // DCs, bitmaps, fonts, brushes, pens, regions, palettes
  std::uint32_t windows = 0;       // USER objects: windows,
  std::uint32_t menus = 0;         // menus (menu bars and pop-ups),
  std::uint32_t icons = 0;         // icons and cursors,
  std::uint32_t accelerators = 0;  // accelerator tables

  bool operator==(const ObjectCounts&) const = default;
};

}  // namespace qr::e2e

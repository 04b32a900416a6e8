// Counts the live GDI and USER objects of the program under test: loads qrobjects.dll
// (beside qrdrive.exe) into the program once, then runs its QrCountObjects on a thread
// created in the program for every count.
#pragma once

#include <windows.h>

#include <string>

#include "font_query_win.h"
#include "object_counts.h"

namespace qr::e2e {

class ObjectCounter {
 public:
  ObjectCounter() = default;
  ObjectCounter(const ObjectCounter&) = delete;
  ObjectCounter& operator=(const ObjectCounter&) = delete;

  // `process` needs the rights CreateProcess gives; `pid` tells a restarted program
  // from the one the library was loaded into.
  bool Count(HANDLE process, DWORD pid, ObjectCounts* counts, std::string* error);
  // The font of `window`, one of the program's, as the program has it.
  bool FontOf(HANDLE process, DWORD pid, HWND window, LOGFONTW* font, std::string* error);

 private:
  bool Load(HANDLE process, std::string* error);

  DWORD pid_ = 0;                  // the process the library is loaded into
  void* remote_count_ = nullptr;   // QrCountObjects there
  void* remote_result_ = nullptr;  // an ObjectCounts there
  void* remote_font_ = nullptr;    // QrFontOfWindow there
  void* remote_query_ = nullptr;   // a FontQuery there
};

}  // namespace qr::e2e

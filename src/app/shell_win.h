// The program-wide state of the running shell: start-up results, the main window and
// the event loop's own variables. One instance lives for the whole run.
#pragma once

#include <windows.h>

#include <string>

#include "app/preference_file.h"
#include "app/scoped_win.h"
#include "app/startup.h"

namespace qr {

struct Shell {
  HINSTANCE instance = nullptr;
  StartupState startup;  // folders, book names, version and the book's settings
  PreferenceFile* prefs = nullptr;
  int desktopWidth = 0;
  int desktopHeight = 0;

  HWND mainWindow = nullptr;
  ScopedAccelerators accelerators;
  bool quit = false;  // set by a quit event; the loop ends after that event

  // Event-loop state.
  int currentRecord = -1;
  int newEntryFlag = 0;
  int shownHint = 0;
  DWORD hintTime = 0;
  int zipLookupDisabled = 0;
  bool blueHintsShown = true;
};

}  // namespace qr

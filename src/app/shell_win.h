// The program-wide state of the running shell: start-up results, the main window and
// the event loop's own variables. One instance lives for the whole run.
#pragma once

#include <windows.h>

#include <string>

#include "addressbook/address_book.h"
#include "addressbook/zip_database.h"
#include "app/event_rules.h"
#include "app/startup.h"
#include "base/preference_file.h"
#include "update/update_info.h"
#include "wingui/scoped_win.h"

namespace qr {

struct Shell {
  HINSTANCE instance = nullptr;
  std::string updateSite;      // scheme and host of the web site the update check asks
  EcdsaPublicKey updateKey{};  // the key installers from there must be signed with
  StartupState startup;        // folders, book names, version and the book's settings
  PreferenceFile* prefs = nullptr;
  int desktopWidth = 0;
  int desktopHeight = 0;

  HWND mainWindow = nullptr;
  HWND toolbar = nullptr;
  ScopedAccelerators accelerators;
  ScopedFont labelFont;  // the blue hint labels
  ScopedFont hintFont;   // the hint line
  bool quit = false;     // set by a quit event; the loop ends after that event

  AddressBook book;  // the open book behind the addressee form
  ZipDatabase zip;

  // Event-loop state.
  HintState hints;
  bool blueHintsShown = true;

  // The sender logo (its file name is startup.book.logoFilename): the image store
  // number of the 100-pixel-wide logo or placeholder (0: none loaded), its height /
  // width before scaling, whether it is a real logo, and the bitmap LogoBox shows.
  int logoImage = 0;
  float logoAspect = 0.0f;
  bool logoInUse = false;
  ScopedBitmap logoBoxBitmap;
};

// A message box owned by the main window; the main window does nothing while it is open.
int ShowMessage(Shell& shell, const std::string& title, const std::string& text,
                unsigned flags = MB_OK);

// The text of a main-window control ("" when it does not exist).
std::string ControlText(const Shell& shell, int control);
void SetControlText(const Shell& shell, int control, const std::string& text);

}  // namespace qr

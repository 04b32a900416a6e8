// Ending the program: what is released, in which order, for each way the program ends.
#pragma once

namespace qr {

enum class ShutdownReason {
  kQuit,              // the close box, File > Quit or Escape
  kInstallerStarted,  // the update check started an installer
};

// The steps of shutdown, carried out by the window side.
class ShutdownSteps {
 public:
  virtual ~ShutdownSteps() = default;
  // Puts the printer of the drop-down and the window position into the book settings
  // and writes them to the book's companion file.
  virtual void SaveBookSettings() = 0;
  virtual void ReleasePrinterLibrary() = 0;
  // Closes a settings file still open (written if changed, as the start-up counter is).
  virtual void CloseSettingsFile() = 0;
  virtual void CloseMainWindow() = 0;
};

// A quit saves the book settings first; after an installer was started they are not
// saved (the installer may replace the program meanwhile). Both then release the
// printer library, the settings file and the main window, in that order.
void RunShutdown(ShutdownSteps& steps, ShutdownReason reason);

}  // namespace qr

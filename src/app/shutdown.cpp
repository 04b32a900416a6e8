#include "app/shutdown.h"

namespace qr {

void RunShutdown(ShutdownSteps& steps, ShutdownReason reason) {
  if (reason == ShutdownReason::kQuit) steps.SaveBookSettings();
  steps.ReleasePrinterLibrary();
  steps.CloseSettingsFile();
  steps.CloseMainWindow();
}

}  // namespace qr

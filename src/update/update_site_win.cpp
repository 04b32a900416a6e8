// The one place that names the web site the update check asks. The address is a build
// setting; a second copy of this file, built with QR_UPDATE_TEST_SITE, serves tests.
#include "update/update_check_win.h"

#ifdef QR_UPDATE_TEST_SITE
#define QR_UPDATE_SITE_OF_THIS_BUILD QR_UPDATE_TEST_SITE
#else
#define QR_UPDATE_SITE_OF_THIS_BUILD QR_UPDATE_SITE
#endif

namespace qr {

void RunUpdateCheck(Shell& shell, const RECT& rect, const std::string& version) {
  RunUpdateCheckAt(shell, rect, version, QR_UPDATE_SITE_OF_THIS_BUILD);
}

}  // namespace qr

#include "update/update_check_win.h"

namespace qr {

void RunUpdateCheck(Shell&, const RECT&, const std::string&) {
  // The download and installer start arrive with the update subsystem.
}

}  // namespace qr

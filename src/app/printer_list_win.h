// The system's printers as the printer library lists them.
#pragma once

#include <string>
#include <vector>

namespace qr {

struct PrinterList {
  bool obtained = false;  // the list could be obtained (it may still be empty)
  std::vector<std::string> names;
};

PrinterList ListPrinters();

}  // namespace qr

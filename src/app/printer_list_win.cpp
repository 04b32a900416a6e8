#include "app/printer_list_win.h"

#include "printlib/printer_lib_win.h"

namespace qr {

PrinterList ListPrinters() {
  PrinterList list;
  // Local printers and connections.
  list.obtained = Print_EnumPrinters(6) != 0;
  if (!list.obtained) return list;
  const int count = Print_CountPrinters();
  for (int i = 0; i < count; ++i) list.names.push_back(Print_GetPrinterName(i));
  return list;
}

}  // namespace qr

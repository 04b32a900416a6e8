// Address book entries print as their book line in failure messages.
#pragma once

#include <ostream>

#include "addressbook/book_file.h"

namespace qr {

inline void PrintTo(const AddressEntry& e, std::ostream* os) {
  *os << '"' << e.name << '^' << e.street << '^' << e.suite << '^' << e.city << '^' << e.state
      << '^' << e.zip << '^' << e.number << '^' << e.listed << '"';
}

}  // namespace qr

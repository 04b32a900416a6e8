#include "base/dialog_filter.h"

namespace qr {

std::string DialogFilterWithNuls(std::string_view pipeSeparated) {
  std::string filter(pipeSeparated);
  for (char& c : filter)
    if (c == '|') c = '\0';
  filter.append(2, '\0');
  return filter;
}

}  // namespace qr

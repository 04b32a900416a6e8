// The progress window of a batch of envelopes: "Printing envelope K of N", a progress
// bar and Cancel. While it is open its owner does nothing.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "envelope/envelope_batch.h"
#include "wingui/modal_win.h"
#include "wingui/scoped_win.h"

namespace qr {

class BatchProgressWindow final : public BatchProgress {
 public:
  // The line shown before item K of N.
  using TextFn = std::string (*)(std::int64_t, std::int64_t);

  // Opens the window centred over `owner` (which it is owned by), with that title and
  // line (Print Selected's by default).
  explicit BatchProgressWindow(HWND owner, std::string_view title = kPrintSelectedTitle,
                               TextFn text = BatchProgressText);
  BatchProgressWindow(const BatchProgressWindow&) = delete;
  BatchProgressWindow& operator=(const BatchProgressWindow&) = delete;

  // Shows the envelope's number, handles what the user did meanwhile, and tells
  // whether to go on (false once Cancel was pressed or the window closed).
  bool BeforeEnvelope(std::int64_t envelope, std::int64_t envelopes) override;

  HWND window() const { return window_.get(); }

 private:
  ModalScope modal_;
  bool cancelled_ = false;
  TextFn text_;
  ScopedWindow window_;
};

}  // namespace qr

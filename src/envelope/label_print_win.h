// Printing sheets of labels: one job whose pages are label sheets, every label a block of
// text drawn with the wide text calls, placed at true size from the paper's edge.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "envelope/envelope_batch.h"
#include "envelope/label_sheet.h"

namespace qr {

// The font the blocks start at: face, size in points, style bits (0x100 bold, 0x200 italic).
struct LabelFont {
  std::string face;
  std::int32_t points = 0;
  std::int32_t style = 0;
};

struct LabelJob {
  std::string printer;
  LabelSheet sheet;
  LabelFont font;
  std::vector<std::string> blocks;  // lines separated by LF
  std::int64_t copies = 1;          // labels of each block, one after the other
  std::int32_t start = 1;           // the first label to fill on the first sheet (1-based)
  std::string name;                 // the job's title

  std::int64_t Labels() const { return static_cast<std::int64_t>(blocks.size()) * copies; }
};

struct LabelOutcome {
  bool paperRefused = false;  // the printer does not give the sheet's paper: nothing printed
  bool cancelled = false;     // the user cancelled: the job was aborted
  std::int64_t sent = 0;      // labels drawn
};

// Opens the printer for the sheet's paper in portrait (a printer that does not give it
// prints nothing), then draws every block `copies` times, each in a label of its own, from `start`
// on and across as many sheets as it takes, fitted to the label by FitLabelFont(). `progress` is
// asked before every label; a cancel aborts the job.
LabelOutcome PrintLabels(const LabelJob& job, BatchProgress& progress);

}  // namespace qr

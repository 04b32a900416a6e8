#include "envelope/label_print_win.h"

#include <algorithm>
#include <map>

#include "base/wide_text_win.h"
#include "printlib/print_math.h"
#include "printlib/printer_lib_win.h"
#include "wingui/scoped_win.h"

namespace qr {
namespace {

using Lines = std::vector<std::wstring>;

Lines SplitLines(const std::string& block) {
  Lines lines;
  std::size_t from = 0;
  for (;;) {
    const std::size_t end = block.find('\n', from);
    lines.push_back(Wide(std::string_view(block).substr(from, end - from)));
    if (end == std::string::npos) return lines;
    from = end + 1;
  }
}

bool PageIsTheSheet(const LabelSheet& sheet) {
  return PageIsSheetPaper(sheet, Print_GetDeviceCaps(PHYSICALWIDTH),
                          Print_GetDeviceCaps(PHYSICALHEIGHT), Print_GetDeviceCaps(LOGPIXELSX),
                          Print_GetDeviceCaps(LOGPIXELSY));
}

// Opens the printer for the sheet's paper; false when it gives another page. A driver may
// know the paper under a code of its own: that is tried once more.
bool OpenSheetPaper(const std::string& printer, const LabelSheet& sheet) {
  Print_OpenPrinter(printer, SheetSettingsText(sheet), 0);
  if (PageIsTheSheet(sheet)) return true;
  std::vector<DriverPaper> papers;
  for (const Print_Paper& p : Print_GetPapers()) papers.push_back({p.code, p.width, p.length});
  const std::optional<std::int32_t> code = MatchSheetPaper(papers, sheet);
  if (!code) return false;
  Print_OpenPrinter(printer, SheetSettingsText(*code), 0);
  return PageIsTheSheet(sheet);
}

// The job's fonts, one per size asked for, made on first use. Whichever is selected, the
// context gets its earlier font back before they are deleted.
class LabelFonts {
 public:
  LabelFonts(HDC dc, const LabelFont& font, int dpiY) : dc_(dc), font_(font), dpiY_(dpiY) {}
  ~LabelFonts() {
    if (previous_) SelectObject(dc_, previous_);
  }
  LabelFonts(const LabelFonts&) = delete;
  LabelFonts& operator=(const LabelFonts&) = delete;

  // Selects the font of `points` and returns its line height in pixels.
  int Select(std::int32_t points) {
    ScopedFont& font = fonts_[points];
    if (!font) font.reset(Create(points));
    const HGDIOBJ was = SelectObject(dc_, font.get());
    if (!previous_) previous_ = was;
    TEXTMETRICW metrics{};
    return GetTextMetricsW(dc_, &metrics) ? metrics.tmHeight : 0;
  }

  BlockExtent Measure(const Lines& lines, std::int32_t points) {
    const int lineHeight = Select(points);
    BlockExtent extent{0, std::int64_t{lineHeight} * static_cast<std::int64_t>(lines.size())};
    for (const std::wstring& line : lines) {
      SIZE size{};
      if (GetTextExtentPoint32W(dc_, line.c_str(), static_cast<int>(line.size()), &size))
        extent.width = std::max<std::int64_t>(extent.width, size.cx);
    }
    return extent;
  }

 private:
  HFONT Create(std::int32_t points) const {
    LOGFONTW lf{};
    lf.lfHeight = print::FontHeight(points, dpiY_);
    const print::FontStyleFields style = print::FontStyleFromBits(font_.style);
    lf.lfWeight = style.weight;
    lf.lfItalic = style.italic;
    lf.lfCharSet = DEFAULT_CHARSET;
    const std::wstring face = Wide(print::CutFaceName(font_.face));
    std::copy_n(face.c_str(), std::min<std::size_t>(face.size(), LF_FACESIZE - 1), lf.lfFaceName);
    return CreateFontIndirectW(&lf);
  }

  HDC dc_;
  LabelFont font_;
  int dpiY_;
  HGDIOBJ previous_ = nullptr;
  std::map<std::int32_t, ScopedFont> fonts_;
};

void DrawLabel(HDC dc, LabelFonts& fonts, const LabelJob& job, const LabelRect& label,
               const Lines& lines, int dpiX, int dpiY) {
  const std::int32_t points =
      FitLabelFont(job.font.points, LabelTextRoom(label, dpiX, dpiY),
                   [&](std::int32_t size) { return fonts.Measure(lines, size); });
  const BlockExtent block = fonts.Measure(lines, points);
  const int lineHeight = fonts.Select(points);
  const DevicePoint at = LabelTextOrigin(label, block, dpiX);
  // A line still too long is cut at the label's edge.
  const RECT clip = {static_cast<LONG>(label.left), static_cast<LONG>(label.top),
                     static_cast<LONG>(label.right), static_cast<LONG>(label.bottom)};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::wstring& line = lines[i];
    if (line.empty()) continue;
    ExtTextOutW(dc, static_cast<int>(at.x),
                static_cast<int>(at.y) + static_cast<int>(i) * lineHeight, ETO_CLIPPED, &clip,
                line.c_str(), static_cast<UINT>(line.size()), nullptr);
  }
}

}  // namespace

LabelOutcome PrintLabels(const LabelJob& job, BatchProgress& progress) {
  LabelOutcome outcome;
  if (job.Labels() <= 0) return outcome;
  if (!OpenSheetPaper(job.printer, job.sheet)) {
    outcome.paperRefused = true;
    return outcome;
  }
  Print_SetUnit(0);
  const int dpiX = Print_GetDeviceCaps(LOGPIXELSX);
  const int dpiY = Print_GetDeviceCaps(LOGPIXELSY);
  const FigureScale scale = SheetScale(job.sheet, dpiX, dpiY, Print_GetDeviceCaps(PHYSICALOFFSETX),
                                       Print_GetDeviceCaps(PHYSICALOFFSETY));
  if (Print_StartPrinting(job.name, std::string()) == 0) {
    Print_StopPrinting();  // ended like any job that did not start
    return outcome;
  }
  HDC dc = Print_CurrentContext();
  const std::int64_t total = job.Labels();
  {
    LabelFonts fonts(dc, job.font, dpiY);
    std::int64_t page = 0;
    for (std::int64_t k = 0; k < total; ++k) {
      if (!progress.BeforeEnvelope(k + 1, total)) {
        outcome.cancelled = true;
        break;
      }
      const LabelSlot slot = PlaceLabel(job.sheet, job.start, k);
      for (; page < slot.page; ++page) Print_NewPage();
      SetBkMode(dc, TRANSPARENT);
      SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
      const LabelRect label = ToDevice(SheetLabelRect(job.sheet, slot.index), scale);
      const std::string& block = job.blocks[static_cast<std::size_t>(k / job.copies)];
      DrawLabel(dc, fonts, job, label, SplitLines(block), dpiX, dpiY);
      outcome.sent = k + 1;
    }
  }
  if (outcome.cancelled) {
    Print_AbortPrinting();
  } else {
    Print_StopPrinting();
  }
  return outcome;
}

}  // namespace qr

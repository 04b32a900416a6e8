// One envelope printed and one preview drawn, through the program's own printing code
// (DrawEnvelope over the printer library) on the CUPS PDF printer; or one job of 100
// envelopes as Print Selected makes it, or of 300 labels (ten sheets of 5160).
//
//   print_timer <printer> [preview runs] [envelope|batch|labels]
//   preview_ms median=<ms> min=<ms> max=<ms> runs=<n>   (envelope only)
//   print_start_epoch_ms=<ms since 1970>       (the caller waits for CUPS from here)
//   print_spooled_ms=<ms>                      (until the job left Windows' queue)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "envelope/envelope_batch.h"
#include "envelope/envelope_print.h"
#include "envelope/label_print_win.h"
#include "envelope/printer_api_win.h"
#include "printlib/printer_lib_win.h"

namespace {

double NowMs() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

long long EpochMs() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER t;
  t.LowPart = now.dwLowDateTime;
  t.HighPart = now.dwHighDateTime;
  return static_cast<long long>((t.QuadPart - 116444736000000000ULL) / 10000ULL);
}

// Jobs in the Windows queue of `printer`; -1 when the queue cannot be read.
int QueuedJobs(const std::string& printer) {
  HANDLE handle = nullptr;
  if (!OpenPrinterA(const_cast<char*>(printer.c_str()), &handle, nullptr)) return -1;
  DWORD needed = 0, count = 0;
  EnumJobsA(handle, 0, 64, 1, nullptr, 0, &needed, &count);
  std::vector<BYTE> buffer(needed ? needed : 1);
  const BOOL ok = EnumJobsA(handle, 0, 64, 1, buffer.data(), static_cast<DWORD>(buffer.size()),
                            &needed, &count);
  ClosePrinter(handle);
  return ok ? static_cast<int>(count) : -1;
}

qr::EnvelopeInputs SampleEnvelope() {
  qr::EnvelopeInputs in;
  in.senderName = "Quarrane Supply Co.";
  in.senderStreet = "100 Harbor Road";
  in.senderCityStateZip = "Portland, ME 04101";
  in.addresseeName = "Ms. Ada Lovelace";
  in.addresseeStreet = "12 Analytical Way";
  in.addresseeSuite = "Suite 200";
  in.addresseeCity = "Springfield";
  in.addresseeState = "IL";
  in.addresseeZip = "62701";
  in.senderHorizontal = "0";
  in.senderVertical = "0";
  in.addresseeHorizontal = "0";
  in.addresseeVertical = "0";
  qr::ApplyEnvelopeFontDefaults(in.fonts);
  return in;
}

// Batches run to their end: nobody presses Cancel.
class NoCancel final : public qr::BatchProgress {
 public:
  bool BeforeEnvelope(std::int64_t, std::int64_t) override { return true; }
};

// Prints one job of `what` ("batch": 100 envelopes, "labels": 300 labels); true when all
// of it was printed.
bool PrintBigJob(const std::string& printer, const std::string& what,
                 const qr::EnvelopeInputs& inputs) {
  NoCancel progress;
  if (what == "batch") {
    qr::PrinterLibApi api;
    const std::vector<qr::EnvelopeInputs> envelopes(100, inputs);
    const qr::BatchOutcome outcome = qr::PrintBatch(api, printer, "1", envelopes, progress);
    return outcome.decision == qr::PrintDecision::kPrint && outcome.sent == 100;
  }
  qr::LabelJob job;
  job.printer = printer;
  job.sheet = qr::FindLabelSheet("5160");
  job.font = {inputs.fonts.addressee.face, 16, 0};
  job.blocks.assign(300, qr::ComposeAddresseeText(inputs));
  job.name = qr::LabelJobName(job.Labels());
  const qr::LabelOutcome outcome = qr::PrintLabels(job, progress);
  return !outcome.paperRefused && outcome.sent == 300;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string printer = argc > 1 ? argv[1] : "PDF";
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  const std::string what = argc > 3 ? argv[3] : "envelope";
  qr::PrinterLibApi api;
  const qr::EnvelopeInputs inputs = SampleEnvelope();
  if (what != "envelope") {
    Print_Init();
    const long long epoch = EpochMs();
    const double start = NowMs();
    const bool printed = PrintBigJob(printer, what, inputs);
    Print_Free();
    if (!printed) {
      std::fprintf(stderr, "the %s job was not printed\n", what.c_str());
      return 1;
    }
    for (int i = 0; i < 120000 && QueuedJobs(printer) > 0; ++i) Sleep(1);
    std::printf("print_start_epoch_ms=%lld\n", epoch);
    std::printf("print_spooled_ms=%.1f\n", NowMs() - start);
    std::fflush(stdout);
    return 0;
  }

  // Preview: the first drawing loads fonts and is not counted.
  Print_Init();
  if (qr::DrawPreview(api, inputs) == 0) {
    std::fprintf(stderr, "no preview could be drawn\n");
    return 1;
  }
  std::vector<double> times;
  for (int run = 0; run < runs; ++run) {
    const double start = NowMs();
    const std::int32_t image = qr::DrawPreview(api, inputs);
    times.push_back(NowMs() - start);
    if (image == 0) {
      std::fprintf(stderr, "preview %d drew nothing\n", run);
      return 1;
    }
  }
  Print_Free();
  std::sort(times.begin(), times.end());
  std::printf("preview_ms median=%.1f min=%.1f max=%.1f runs=%d\n", times[times.size() / 2],
              times.front(), times.back(), runs);

  // One envelope, one copy.
  Print_Init();
  const long long epoch = EpochMs();
  const double start = NowMs();
  const qr::PrintOutcome outcome = qr::PrintEnvelope(api, printer, "1", [&] { return inputs; });
  Print_Free();
  if (outcome.decision != qr::PrintDecision::kPrint || outcome.jobs != 1) {
    std::fprintf(stderr, "the envelope was not printed\n");
    return 1;
  }
  for (int i = 0; i < 30000 && QueuedJobs(printer) > 0; ++i) Sleep(1);
  std::printf("print_start_epoch_ms=%lld\n", epoch);
  std::printf("print_spooled_ms=%.1f\n", NowMs() - start);
  std::fflush(stdout);
  return 0;
}

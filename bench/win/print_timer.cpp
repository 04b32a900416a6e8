// One envelope printed and one preview drawn, through the program's own printing code
// (DrawEnvelope over the printer library) on the CUPS PDF printer.
//
//   print_timer <printer> [preview runs]
//   preview_ms median=<ms> min=<ms> max=<ms> runs=<n>
//   print_start_epoch_ms=<ms since 1970>       (the caller waits for CUPS from here)
//   print_spooled_ms=<ms>                      (until the job left Windows' queue)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "envelope/envelope_print.h"
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

}  // namespace

int main(int argc, char** argv) {
  const std::string printer = argc > 1 ? argv[1] : "PDF";
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  qr::PrinterLibApi api;
  const qr::EnvelopeInputs inputs = SampleEnvelope();

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

// What opening the "Get Addressee" window costs apart from the window itself: reading
// the book file back (as every opening does), building the row table for the Name
// field's text, and fetching the cells of the rows the list shows first. The list is
// virtual, so only those rows are ever asked for at opening.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "addressbook/address_book.h"
#include "addressbook/book_sort.h"
#include "addressbook/lookup_rows.h"
#include "base/file_system.h"

namespace {

constexpr int kVisibleRows = 20;  // rows a 280-pixel list shows at once

// A sorted book of `size` entries: names from a few common prefixes, one in fifty not
// listed, so that a search text keeps a realistic share of the book.
std::vector<qr::AddressEntry> Book(std::size_t size) {
  static const char* const kPrefixes[] = {"Smith", "Sm", "Adams", "Baker", "Oak", "smith"};
  std::mt19937 rng(42);
  std::uniform_int_distribution<int> prefix(0, 5);
  std::uniform_int_distribution<int> digit(0, 9);
  std::vector<qr::AddressEntry> entries;
  entries.reserve(size);
  for (std::size_t i = 0; i < size; ++i) {
    std::string name = kPrefixes[prefix(rng)];
    for (int d = 0; d < 6; ++d) name += static_cast<char>('0' + digit(rng));
    entries.push_back({name, std::to_string(i) + " Main Street", "Suite 4", "Springfield", "IL",
                       "62701", "0", i % 50 == 0 ? "0" : "1"});
  }
  qr::SortEntriesByName(entries);
  for (std::size_t i = 0; i < size; ++i) entries[i].number = std::to_string(i);
  return entries;
}

std::size_t FirstPageBytes(const std::vector<qr::AddressEntry>& entries,
                           const std::vector<int>& rows) {
  std::size_t bytes = 0;
  for (int row = 0; row < kVisibleRows; ++row) {
    const auto position = qr::PositionForRow(rows, row);
    if (!position) break;
    for (int column = 0; column < 5; ++column) {
      bytes += qr::LookupCellText(entries[static_cast<std::size_t>(*position)], column).size();
    }
  }
  return bytes;
}

// Row table and first page for an in-memory book; argument 1 selects the search text.
void BM_RowsForSearch(benchmark::State& state) {
  const std::vector<qr::AddressEntry> entries = Book(static_cast<std::size_t>(state.range(0)));
  const std::string search = state.range(1) ? "Sm" : "";
  for (auto _ : state) {
    const std::vector<int> rows = qr::BuildLookupRows(entries, search);
    benchmark::DoNotOptimize(FirstPageBytes(entries, rows));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The whole opening minus the window: reread the book file from disk, then the rows.
void BM_OpenFromDisk(benchmark::State& state) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("qr_lookup_bench_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  qr::FileSystem& fs = qr::SystemFileSystem();
  qr::AddressBook book;
  book.directory = dir.string() + "/";
  book.fileName = "Bench.adb";
  qr::WriteFileAtomically(fs, book.FilePath(),
                          qr::FormatBookFile(Book(static_cast<std::size_t>(state.range(0)))));
  for (auto _ : state) {
    if (!qr::RereadAddressbook(fs, book).ok) {
      state.SkipWithError("could not read the book");
      break;
    }
    const std::vector<int> rows = qr::BuildLookupRows(book.entries, "Sm");
    benchmark::DoNotOptimize(FirstPageBytes(book.entries, rows));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  std::filesystem::remove_all(dir);
}

BENCHMARK(BM_RowsForSearch)
    ->ArgsProduct({{1000, 10000, 100000}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpenFromDisk)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

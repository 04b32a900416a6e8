// Address book costs that grow with the book: a save (lock, fresh read, backup, atomic
// rewrite, read back sorted), the name sort, the fast one against the plain bubble passes
// it replaced, and an import of contacts from a vCard file.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "addressbook/address_book.h"
#include "addressbook/book_sort.h"
#include "addressbook/contacts_import.h"
#include "base/file_system.h"
#include "support/addressbook_bubble_sort.h"
#include "support/memory_file_system.h"

namespace {

// Random but repeatable books: mixed-case names, some shared, a few accented, and unless
// `withBlanks` is false one in a thousand blank (which splits the sort into runs). With
// `beyondCodePage` one name in ten also holds a letter the code page lacks (Polish,
// Vietnamese, Japanese), which makes the file UTF-8.
std::vector<qr::AddressEntry> RandomBook(std::size_t size, bool withBlanks = true,
                                         bool beyondCodePage = false) {
  std::mt19937 rng(static_cast<unsigned>(size));
  std::vector<std::string> letters = {"\xC3\xA9", "\xC3\x89"};  // e and E with acute
  for (char c = 'a'; c <= 'z'; ++c) letters.push_back(std::string(1, c));
  for (char c = 'A'; c <= 'Z'; ++c) letters.push_back(std::string(1, c));
  const std::vector<std::string> beyond = {"\xC5\x81", "\xE1\xBB\x85", "\xE6\x9D\xB1"};
  std::uniform_int_distribution<std::size_t> letter(0, letters.size() - 1);
  std::uniform_int_distribution<std::size_t> other(0, beyond.size() - 1);
  std::uniform_int_distribution<int> length(3, 12);
  std::uniform_int_distribution<int> percent(0, 999);
  std::vector<qr::AddressEntry> entries;
  entries.reserve(size);
  for (std::size_t i = 0; i < size; ++i) {
    std::string name;
    const int roll = percent(rng);
    if (roll == 0 && withBlanks) {
      name = "   ";
    } else if (roll < 50 && !entries.empty()) {
      name = entries[entries.size() / 2].name;  // a repeated name
    } else {
      for (int n = length(rng); n > 0; --n) name += letters[letter(rng)];
      if (beyondCodePage && roll % 10 == 0) name += beyond[other(rng)];
      name += " Supply";
    }
    entries.push_back({name, std::to_string(i) + " Main Street", "Suite 4", "Springfield", "IL",
                       "62701", std::to_string(i), "1"});
  }
  return entries;
}

// Updates one record of an open book and saves it, as the Save button does.
void SaveAndReadBack(benchmark::State& state, qr::FileSystem& fs, const std::string& directory,
                     bool beyondCodePage = false) {
  qr::AddressBook book;
  book.directory = directory;
  book.fileName = "Bench.adb";
  qr::WriteFileAtomically(fs, book.FilePath(),
                          qr::FormatBookFile(RandomBook(state.range(0), true, beyondCodePage)));
  if (!qr::ReadAddressbook(fs, book).ok) {
    state.SkipWithError("could not read the book");
    return;
  }
  int round = 0;
  for (auto _ : state) {
    auto form = qr::SelectRecord(book, static_cast<int>(book.entries.size() / 2));
    form->city = "City " + std::to_string(++round);
    const qr::SaveResult result = qr::SaveAddressee(fs, book, *form);
    if (result.outcome != qr::SaveOutcome::kSaved) state.SkipWithError(result.text.c_str());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Files in memory, so that the figures show the program's own work, not the disk's.
void BM_SaveAndReadBackInMemory(benchmark::State& state) {
  qr::testing::MemoryFileSystem fs;
  fs.folders.insert("C:\\bench\\");
  SaveAndReadBack(state, fs, "C:\\bench\\");
}

void SaveAndReadBackOnDisk(benchmark::State& state, bool beyondCodePage) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("qr_book_bench_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  SaveAndReadBack(state, qr::SystemFileSystem(), dir.string() + "/", beyondCodePage);
  std::filesystem::remove_all(dir);
}

// A book whose names all fit the code page: the file stays in the code page.
void BM_SaveAndReadBackOnDisk(benchmark::State& state) { SaveAndReadBackOnDisk(state, false); }
// One name in ten beyond the code page: the file is UTF-8.
void BM_SaveAndReadBackUtf8OnDisk(benchmark::State& state) { SaveAndReadBackOnDisk(state, true); }

// A phone's export: version 3.0 cards with a name in two forms, a home address, a phone
// number and an e-mail address; every tenth name has a letter the code page lacks.
std::string VCardFile(std::size_t cards) {
  std::string out;
  for (std::size_t i = 0; i < cards; ++i) {
    const std::string n = std::to_string(i);
    const std::string given = i % 10 == 0 ? "\xC5\x81ucja" : "Lucia";
    out += "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Contact " + n + ";" + given + ";;;\r\nFN:" + given +
           " Contact " + n + "\r\nADR;TYPE=home,pref:;Apt " + n + ";" + n +
           " Oak Street;Springfield;IL;62701;USA\r\nTEL;TYPE=cell:+1 555 0100\r\n"
           "EMAIL:contact" +
           n + "@example.com\r\nEND:VCARD\r\n";
  }
  return out;
}

// File > Import Contacts of a file of `range(0)` cards into a book of as many entries, on
// disk: reading and merging the cards, the backup, the one rewrite and the read-back.
void BM_ImportVCardsOnDisk(benchmark::State& state) {
  const std::size_t size = static_cast<std::size_t>(state.range(0));
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("qr_import_bench_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  qr::FileSystem& fs = qr::SystemFileSystem();
  const std::string cards = (dir / "contacts.vcf").string();
  qr::WriteFileAtomically(fs, cards, VCardFile(size));
  const std::string bookBytes = qr::FormatBookFile(RandomBook(size));
  for (auto _ : state) {
    state.PauseTiming();
    qr::AddressBook book;
    book.directory = dir.string() + "/";
    book.fileName = "Bench.adb";
    qr::WriteFileAtomically(fs, book.FilePath(), bookBytes);
    const bool read = qr::ReadAddressbook(fs, book).ok;
    state.ResumeTiming();
    const qr::ImportResult result = qr::ImportContacts(fs, book, cards);
    if (!read || result.report.imported != size) state.SkipWithError("the import went wrong");
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  std::filesystem::remove_all(dir);
}

template <void (*Sort)(std::vector<qr::AddressEntry>&)>
void SortBook(benchmark::State& state) {
  const std::vector<qr::AddressEntry> book = RandomBook(state.range(0), state.range(1) != 0);
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<qr::AddressEntry> entries = book;
    state.ResumeTiming();
    Sort(entries);
    benchmark::DoNotOptimize(entries.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_SortFast(benchmark::State& state) { SortBook<qr::SortEntriesByName>(state); }
void BM_SortBubblePasses(benchmark::State& state) {
  SortBook<qr::reference::BubbleSortEntries>(state);
}

BENCHMARK(BM_SaveAndReadBackInMemory)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveAndReadBackOnDisk)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveAndReadBackUtf8OnDisk)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportVCardsOnDisk)->Arg(10000)->Unit(benchmark::kMillisecond);
// Second argument: 1 when the book has blank names, which bound how far the bubble passes
// move an entry; 0 for a book without, where they are quadratic in the book's size.
BENCHMARK(BM_SortFast)->ArgsProduct({{1000, 10000, 100000}, {1, 0}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortBubblePasses)->ArgsProduct({{1000, 10000}, {1, 0}})->Unit(benchmark::kMillisecond);
// The 100,000-entry book is sorted once: some seconds with blank names. Without them it
// takes many minutes, so that case is not run; the 10,000 figure times 100 estimates it.
BENCHMARK(BM_SortBubblePasses)->Args({100000, 1})->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

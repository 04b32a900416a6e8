// Loading the shipped ZIP code database and looking ZIP codes up in its largest bucket.
// The folder holding envelope.dat comes from QR_ZIP_DATABASE_DIR (environment first,
// then the build's own define).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "addressbook/zip_database.h"
#include "base/file_system.h"

namespace {

std::string DatabaseFolder() {
  if (const char* dir = std::getenv("QR_ZIP_DATABASE_DIR"); dir != nullptr && *dir != '\0') {
    return std::string(dir) + "/";
  }
#ifdef QR_ZIP_DATABASE_DIR
  return QR_ZIP_DATABASE_DIR "/";
#else
  return {};
#endif
}

bool LoadShipped(qr::ZipDatabase* db, benchmark::State& state) {
  const std::string folder = DatabaseFolder();
  if (qr::LoadZipDatabase(qr::SystemFileSystem(), folder, db) != qr::ZipDatabaseStatus::kLoaded) {
    state.SkipWithError(("no envelope.dat in '" + folder + "' (set QR_ZIP_DATABASE_DIR)").c_str());
    return false;
  }
  return true;
}

const std::vector<qr::ZipEntry>& LargestBucket(const qr::ZipDatabase& db) {
  const std::vector<qr::ZipEntry>* largest = &db.buckets[0];
  for (const auto& bucket : db.buckets) {
    if (bucket.size() > largest->size()) largest = &bucket;
  }
  return *largest;
}

// Reading envelope.dat from disk and building the buckets, as at start-up.
void BM_LoadShippedDatabase(benchmark::State& state) {
  qr::ZipDatabase db;
  for (auto _ : state) {
    if (!LoadShipped(&db, state)) return;
    benchmark::DoNotOptimize(db);
  }
}
BENCHMARK(BM_LoadShippedDatabase)->Unit(benchmark::kMillisecond);

// The last ZIP of the largest bucket: a scan through the whole bucket that finds it.
void BM_LookupLastOfLargestBucket(benchmark::State& state) {
  qr::ZipDatabase db;
  if (!LoadShipped(&db, state)) return;
  const std::vector<qr::ZipEntry>& bucket = LargestBucket(db);
  const std::string zip = bucket.back().zip;
  state.SetLabel(std::to_string(bucket.size()) + " entries, ZIP " + zip);
  for (auto _ : state) benchmark::DoNotOptimize(qr::LookupZip(db, zip));
}
BENCHMARK(BM_LookupLastOfLargestBucket)->Unit(benchmark::kMicrosecond);

// A ZIP+4 text whose five digits are in no entry of the largest bucket: a full scan.
void BM_LookupMissInLargestBucket(benchmark::State& state) {
  qr::ZipDatabase db;
  if (!LoadShipped(&db, state)) return;
  const std::string zip = LargestBucket(db).front().zip.substr(0, 1) + "ABCD-1234";
  for (auto _ : state) benchmark::DoNotOptimize(qr::LookupZip(db, zip));
}
BENCHMARK(BM_LookupMissInLargestBucket)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

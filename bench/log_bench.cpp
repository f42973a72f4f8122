// The log page against a history near its 10 MB limit: the one read on the pool thread, what an
// update adds on the user-interface thread, and the page's first draw for each range.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "profile/history_append.h"
#include "profile/history_log.h"
#include "profile/history_rows.h"
#include "services/record_file.h"
#include "tests/support/recording_text_renderer.h"
#include "ui/game_screen.h"
#include "ui/log_page.h"
#include "ui/sheet_decoding.h"
#include "util/iso_time.h"

namespace orelog {
namespace {

constexpr int kWorkers = 12;
constexpr int64_t kSpacing = 150;
constexpr std::size_t kTargetBytes = kHistoryMaxBytes - 100'000;

// A folder of this run's own, gone when the run ends.
struct BenchFolder {
  std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("orelog-log-bench-" + std::to_string(::getpid()));
  BenchFolder() { std::filesystem::create_directories(path); }
  ~BenchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
};

// history.csv of a dozen workers every 150 s, up to just under the limit (about 37 days).
const std::filesystem::path& bigHistory() {
  static const BenchFolder folder;
  static const std::filesystem::path file = [] {
    std::string bytes = historyHeaderLine();
    PlayerRecord record;

    const int64_t start = utcSeconds(ZonedDateTime{{2026, 11, 1, 0, 0, 0}, 540});
    ZonedDateTime time{{}, 540};
    for (int64_t i = 0; bytes.size() < kTargetBytes; ++i) {
      record.totalHashrate = 0;
      for (int w = 0; w < kWorkers; ++w) {
        const int32_t khs = (i / 40 + w) % 9 == 0 ? 0 : 1000 + static_cast<int32_t>((i * 7 + w * 13) % 500);
        record.workers["kuro.rig" + std::to_string(w)] = khs;
        record.totalHashrate += khs;
      }
      record.payout = static_cast<double>(i / 500);
      record.balance = static_cast<double>(i % 500) / 1000;
      time.local = localDateTimeAt(start + i * kSpacing, 540);
      bytes += historyRowLine(record, time);
    }
    const auto path = folder.path / kHistoryFileName;
    replaceRecordFile(path, bytes);
    return path;
  }();
  return file;
}

const SpriteSheets& sheets() {
  static const SpriteSheets loaded = *loadEmbeddedSheets();
  return loaded;
}

// On the pool thread, once: the whole file read and parsed, the latest 30 days kept.
void BM_LogLoadOnPoolThread(benchmark::State& state) {
  for (auto _ : state) {
    HistoryLog log;
    setHistoryRows(log, readHistoryRows(bigHistory()));
    benchmark::DoNotOptimize(log.rows.data());
  }
}

// What an update adds on the user-interface thread for the page: one row into the kept rows.
void BM_LogAddRowAtUpdate(benchmark::State& state) {
  HistoryLog log;
  setHistoryRows(log, readHistoryRows(bigHistory()));
  HistoryRow row = log.rows.back();
  for (auto _ : state) {
    row.utcSeconds += kSpacing;
    addHistoryRow(log, row);
  }
}

// The page's first draw after an update, per range (1, 7, 30 days), with the recording renderer.
void BM_LogPageFirstDraw(benchmark::State& state) {
  GameScreen screen;
  initGameScreen(screen, PlayerRecord{});
  screen.page = kLogPage;
  setHistoryRows(screen.log.history, readHistoryRows(bigHistory()));
  syncLogEvents(screen.log);
  screen.log.days = static_cast<int32_t>(state.range(0));
  Canvas canvas = makeCanvas();
  RecordingTextRenderer text;
  for (auto _ : state) {
    text.clear();
    paintCurrentPage(canvas, screen, PlayerRecord{}, sheets(), text);
    benchmark::DoNotOptimize(canvas.storage.data());
  }
}

BENCHMARK(BM_LogLoadOnPoolThread)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LogAddRowAtUpdate)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LogPageFirstDraw)->Arg(1)->Arg(7)->Arg(30)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orelog

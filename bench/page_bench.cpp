// Composing each game-screen page for a full record, measured against a plain copy of one frame.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>

#include "game/characters.h"
#include "game/items.h"
#include "services/null_platform.h"
#include "services/system_text.h"
#include "profile/catalogue.h"
#include "tests/support/full_record.h"
#include "tests/support/recording_text_renderer.h"
#include "ui/game_screen.h"
#include "ui/sheet_decoding.h"

namespace orelog {
namespace {

using Clock = std::chrono::steady_clock;

// A shelf crowded far beyond normal play, to show how the cost grows with placed items.
constexpr int kCrowdedPlacedItems = 1000;

GameScreen fullScreen(const PlayerRecord& record) {
  GameScreen screen;
  initGameScreen(screen, record);
  rebuildCharacterSlots(screen.slots, record);
  screen.hoveredCharacter = 5;
  screen.frame = 7;
  screen.items.motion.flyingItem = record.items.size() - 1;
  screen.items.motion.flightStartX = 300;
  screen.items.motion.flightStartY = 200;
  screen.items.motion.flightRadius = 64;
  return screen;
}

const SpriteSheets& sheets() {
  static const std::optional<SpriteSheets> loaded = loadEmbeddedSheets();
  static const SpriteSheets empty;
  return loaded ? *loaded : empty;
}

// The yardstick: the fastest of many plain copies of a 520 x 300 frame, in nanoseconds. Fastest
// times, here and for the pages, keep the ratios steady on a machine busy with other work.
double frameCopyNs() {
  static const double ns = [] {
    const Canvas from = makeCanvas();
    Canvas to = makeCanvas();
    double best = 1e30;
    for (int i = 0; i < 20000; ++i) {
      const auto start = Clock::now();
      std::copy(from.storage.begin(), from.storage.end(), to.storage.begin());
      benchmark::DoNotOptimize(to.storage.data());
      benchmark::ClobberMemory();
      best = std::min(best, std::chrono::duration<double, std::nano>(Clock::now() - start).count());
    }
    return best;
  }();
  return ns;
}

void BM_FrameCopy(benchmark::State& state) {
  const Canvas from = makeCanvas();
  Canvas to = makeCanvas();
  for (auto _ : state) {
    std::copy(from.storage.begin(), from.storage.end(), to.storage.begin());
    benchmark::DoNotOptimize(to.storage.data());
    benchmark::ClobberMemory();
  }
  state.counters["frame_copies"] = 1.0;
  state.counters["best_copy_ns"] = frameCopyNs();
}
BENCHMARK(BM_FrameCopy);

enum class Text { None, Recording, Pango };

TextRenderer& renderer(Text kind) {
  static NullTextRenderer none;
  static RecordingTextRenderer recording;
  static const std::unique_ptr<TextRenderer> pango = makeSystemTextRenderer();
  recording.clear();
  switch (kind) {
    case Text::None:
      return none;
    case Text::Recording:
      return recording;
    case Text::Pango:
      return *pango;
  }
  return none;
}

void BM_Page(benchmark::State& state, int32_t page, Text text, int placedItems) {
  if (sheets().colour.width == 0) state.SkipWithError("the embedded sprite sheets did not load");
  const PlayerRecord record = test::fullRecord(placedItems);
  GameScreen screen = fullScreen(record);
  screen.page = page;
  Canvas canvas = makeCanvas();
  TextRenderer& textRenderer = renderer(text);
  paintCurrentPage(canvas, screen, record, sheets(), textRenderer);  // warm caches once
  double best = 1e30;
  for (auto _ : state) {
    if (text == Text::Recording) static_cast<RecordingTextRenderer&>(textRenderer).clear();
    const auto start = Clock::now();
    paintCurrentPage(canvas, screen, record, sheets(), textRenderer);
    benchmark::DoNotOptimize(canvas.pixels);
    benchmark::ClobberMemory();
    best = std::min(best, std::chrono::duration<double, std::nano>(Clock::now() - start).count());
  }
  // How many plain frame copies the fastest composition of this page costs.
  state.counters["frame_copies"] = best / frameCopyNs();
}

struct PageName {
  int32_t page;
  const char* name;
};
constexpr PageName kPages[] = {{kTopPage, "top"},   {kCreditsPage, "credits"}, {kStatusPage, "status"},
                               {kShopPage, "shop"}, {kItemsPage, "items"},     {kFriendsPage, "friends"}};

[[maybe_unused]] const bool kRegistered = [] {
  const std::pair<Text, const char*> renderers[] = {
      {Text::None, "no_text"}, {Text::Recording, "recording"}, {Text::Pango, "pango"}};
  for (const PageName& page : kPages) {
    for (const auto& [text, textName] : renderers) {
      const std::string name = std::string("BM_Page/") + page.name + "/" + textName;
      benchmark::RegisterBenchmark(name.c_str(), BM_Page, page.page, text, test::kFullRecordPlacedItems);
    }
  }
  for (const auto& [text, textName] : renderers) {
    const std::string name = std::string("BM_Page/top_1000_items/") + textName;
    benchmark::RegisterBenchmark(name.c_str(), BM_Page, kTopPage, text, kCrowdedPlacedItems);
  }
  return true;
}();

}  // namespace
}  // namespace orelog

BENCHMARK_MAIN();

// orelog-tool history FILE.png [--days N] [--no-text]: the chart of history.csv in the current folder
// as PNG.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "commands.h"
#include "profile/history_append.h"
#include "profile/history_rows.h"
#include "record_options.h"
#include "services/record_file.h"
#include "picture_output.h"
#include "ui/history_chart.h"
#include "ui/sheet_decoding.h"

namespace orelog::tool {
namespace {

constexpr const char* kUsage = "usage: orelog-tool history FILE.png [--days N] [--no-text]   (N from 1 to 3650)\n";

// N from "--days N" after the file name; the default without it, nullopt on anything else.
std::optional<int> readDays(const Args& args) {
  if (args.size() == 1) return kDefaultHistoryDays;
  if (args.size() != 3 || args[1] != "--days") return std::nullopt;
  return wholeNumberIn(args[2], 1, kMostHistoryDays);
}

// The rows of history.csv; nullopt, with the reason on standard error, when there are none to draw.
std::optional<std::vector<HistoryRow>> readHistoryRows() {
  const RecordFileRead read = readRecordFile(kHistoryFileName, kHistoryReadLimit);
  if (read.state == RecordFileState::Missing) {
    std::fprintf(stderr, "orelog-tool: no history yet: %s is written after each successful update\n",
                 kHistoryFileName);
    return std::nullopt;
  }
  std::optional<std::vector<HistoryRow>> rows;
  if (read.state == RecordFileState::Read) rows = parseHistory(read.bytes);
  if (!rows) {
    std::fprintf(stderr, "orelog-tool: %s is not a history this game wrote\n", kHistoryFileName);
  } else if (rows->empty()) {
    std::fprintf(stderr, "orelog-tool: no history yet: %s holds no update\n", kHistoryFileName);
    rows.reset();
  }
  return rows;
}

}  // namespace

int runHistory(const Args& given) {
  Args args = given;
  const bool withText = !takeFlag(args, kNoTextFlag);
  const std::optional<int> days = args.empty() ? std::nullopt : readDays(args);
  if (!days) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::optional<std::vector<HistoryRow>> rows = readHistoryRows();
  if (!rows) return 1;
  const std::optional<SpriteSheets> sheets = loadSheetsOrSay();
  if (!sheets) return 1;
  PictureText text(withText);
  Canvas canvas = makeCanvas();
  PageTools tools{canvas, *sheets, text.renderer()};
  drawHistoryPicture(tools, *rows, *days);
  return writePngOrSay(canvas, args[0]) ? 0 : 1;
}

}  // namespace orelog::tool

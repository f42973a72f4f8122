// Reading the demo pool's flags.
#include "demo_options.h"

#include <charconv>
#include <cstdio>
#include <utility>

namespace orelog::demo {
namespace {

constexpr std::pair<const char*, FaultKind> kFaultNames[] = {
    {"html404", FaultKind::Html404}, {"html500", FaultKind::Html500},
    {"size", FaultKind::Size},       {"bom", FaultKind::Bom},
    {"malformed", FaultKind::Malformed}, {"numbers", FaultKind::Numbers},
    {"nonnumeric", FaultKind::NonNumeric}, {"stall", FaultKind::Stall},
    {"trickle", FaultKind::Trickle}, {"close", FaultKind::Close},     {"empty", FaultKind::Empty},
    {"disabled", FaultKind::Disabled}, {"ratelimit", FaultKind::RateLimit},
    {"body", FaultKind::Body},       {"headers", FaultKind::Headers},
    {"redirect", FaultKind::Redirect}, {"chunked-cut", FaultKind::ChunkedCut},
    {"phpwarning", FaultKind::PhpWarning}, {"nostart", FaultKind::NoStart},
};

constexpr int kMostHistoryBlocks = 100000;
constexpr long kLargestBody = 64L * 1024 * 1024;  // far beyond any client's buffer, well within memory

constexpr const char* kActions[] = {"getuserworkers", "getuserbalance", "getusertransactions"};

template <typename Number>
bool readNumber(const std::string& text, Number& out) {
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, out);
  return ec == std::errc() && ptr == end && !text.empty();
}

bool knownAction(const std::string& action) {
  for (const char* known : kActions) {
    if (action == known) return true;
  }
  return false;
}

// KIND[=VALUE][@ACTION]
std::optional<Fault> parseFault(const std::string& text) {
  Fault fault;
  std::string spec = text;
  if (auto at = spec.find('@'); at != std::string::npos) {
    fault.action = spec.substr(at + 1);
    spec.resize(at);
    if (!knownAction(fault.action)) return std::nullopt;
  }
  std::string value;
  if (auto eq = spec.find('='); eq != std::string::npos) {
    value = spec.substr(eq + 1);
    spec.resize(eq);
  }
  for (const auto& [name, kind] : kFaultNames) {
    if (spec != name) continue;
    fault.kind = kind;
    if (kind == FaultKind::Body) return value.empty() ? std::nullopt : (fault.file = value, std::optional(fault));
    if (kind == FaultKind::Redirect) return fault.location = value, std::optional(fault);
    const bool takesValue = kind == FaultKind::Size || kind == FaultKind::Stall;
    if (value.empty()) return kind == FaultKind::Size ? std::nullopt : std::optional(fault);
    if (!takesValue || !readNumber(value, fault.value) || fault.value < 0) return std::nullopt;
    if (kind == FaultKind::Size && fault.value > kLargestBody) return std::nullopt;
    return fault;
  }
  return std::nullopt;
}

// USERNAME@FIRST[-LAST]
std::optional<WorkerStop> parseStop(const std::string& text) {
  const auto at = text.rfind('@');
  if (at == std::string::npos || at == 0) return std::nullopt;
  WorkerStop stop;
  stop.username = text.substr(0, at);
  std::string range = text.substr(at + 1);
  if (auto dash = range.find('-'); dash != std::string::npos) {
    if (!readNumber(range.substr(dash + 1), stop.last)) return std::nullopt;
    range.resize(dash);
  }
  if (!readNumber(range, stop.first) || stop.first < 1) return std::nullopt;
  if (stop.last != 0 && stop.last < stop.first) return std::nullopt;
  return stop;
}

bool applyFlag(Options& options, const std::string& flag, const std::string& value) {
  if (flag == "--port") return readNumber(value, options.port) && options.port >= 0 && options.port < 65536;
  if (flag == "--seed") return readNumber(value, options.seed);
  if (flag == "--api-key") return options.apiKey = value, !value.empty();
  if (flag == "--account") return options.account = value, !value.empty();
  if (flag == "--data") return options.dataFile = value, !value.empty();
  if (flag == "--history") {
    return readNumber(value, options.historyBlocks) && options.historyBlocks >= 0 &&
           options.historyBlocks <= kMostHistoryBlocks;
  }
  if (flag == "--speed") return readNumber(value, options.speed) && options.speed > 0;
  if (flag == "--epoch") {
    long long epoch = 0;
    if (!readNumber(value, epoch) || epoch < 0) return false;
    return options.epoch = epoch, true;
  }
  if (flag == "--clock-back") return readNumber(value, options.clockBack) && options.clockBack >= 0;
  if (flag == "--stop") {
    auto stop = parseStop(value);
    if (stop) options.stops.push_back(*stop);
    return stop.has_value();
  }
  if (flag == "--fault") {
    auto fault = parseFault(value);
    if (fault) options.faults.push_back(*fault);
    return fault.has_value();
  }
  return false;
}

bool isHelpFlag(const std::string& flag) {
  return flag == "--help" || flag == "-h";
}

}  // namespace

// Every flag but the help flag takes a value.
std::optional<Options> parseOptions(const std::vector<std::string>& args) {
  Options options;
  std::size_t i = 0;
  while (i < args.size()) {
    if (isHelpFlag(args[i])) {
      options.showHelp = true;
      i += 1;
      continue;
    }
    if (i + 1 >= args.size() || !applyFlag(options, args[i], args[i + 1])) {
      std::fprintf(stderr, "demo-pool: bad flag near '%s'\n%s", args[i].c_str(), usageText());
      return std::nullopt;
    }
    i += 2;
  }
  return options;
}

const char* usageText() {
  return "usage: demo-pool [--help] [--port N] [--seed N] [--api-key KEY] [--account NAME] [--speed X]\n"
         "                 [--epoch UNIX_SECONDS] [--history BLOCKS] [--clock-back SECONDS] [--data FILE.json]\n"
         "                 [--fault KIND[=N][@ACTION]]... [--stop USERNAME@FIRST[-LAST]]...\n"
         "  KIND: html404 html500 size=BYTES bom malformed numbers nonnumeric stall[=SECONDS]\n"
         "        trickle (half the body, then nothing) close (half the body, then hang up)\n"
         "        empty disabled body=FILE (answer with FILE's bytes)\n"
         "        headers (header lines without end) redirect[=URL] (to URL; none: to itself, for ever)\n"
         "        chunked-cut (half the body in chunks, then hang up without the last chunk)\n"
         "        ratelimit (MPOS's flood limit: 401 without a body for getuserworkers and\n"
         "        getuserbalance, its rate-limit page for getusertransactions)\n"
         "        phpwarning (a PHP warning before the JSON) nostart (transactions ignore start)\n"
         "  ACTION: getuserworkers getuserbalance getusertransactions (default: every action)\n"
         "  --data names a JSON object whose members \"workers\", \"balance\" and \"transactions\"\n"
         "  replace the simulated figures verbatim; it is read again at every request.\n"
         "  getusertransactions pages its rows by start (offset) and limit (at most 100), as MPOS does.\n"
         "  --clock-back sets the pool's clock back at start: rows written since carry earlier times.\n"
         "  --stop lists the worker USERNAME (\"<account>.<worker>\") with hashrate 0 in the\n"
         "  workers answers number FIRST to LAST (from 1; LAST omitted: to the end), simulated or pinned.\n";
}

}  // namespace orelog::demo

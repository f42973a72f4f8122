// The demo pool's command-line flags: where it listens, whose figures it serves, how it misbehaves.
#pragma once
#include <optional>
#include <string>
#include <vector>

namespace orelog::demo {

enum class FaultKind {
  Html404, Html500, Size, Bom, Malformed, Numbers, NonNumeric, Stall, Trickle, Close, Empty, Disabled, RateLimit, Body,
  Headers, Redirect, ChunkedCut, PhpWarning, NoStart
};

// One way of misbehaving; an empty action means every action.
struct Fault {
  FaultKind kind = FaultKind::Html404;
  long value = 0;    // body size for Size, seconds for Stall (0 = until the process ends)
  std::string file;  // for Body: the file whose bytes are the whole answer
  std::string location;  // for Redirect: where to send the client; empty: to the same URL again
  std::string action;
};

// A worker that reports 0 in the workers answers number first to last (counted from 1).
struct WorkerStop {
  std::string username;  // in full, "<account>.<worker>"
  long first = 1;
  long last = 0;  // 0: to the end
};

struct Options {
  int port = 0;  // 0: any free port
  unsigned long seed = 1;
  std::string apiKey = "demo";
  std::string account = "demo";
  double speed = 1.0;              // how many pool seconds pass per real second
  int historyBlocks = 6;           // blocks already found when the pool starts
  std::optional<long long> epoch;  // pool time (Unix seconds, UTC) at start; default the real clock
  long long clockBack = 0;         // seconds the pool's wall clock is set back at start
  std::string dataFile;            // pinned figures, read afresh at every request
  std::vector<Fault> faults;
  std::vector<WorkerStop> stops;
  bool showHelp = false;  // --help: print the usage on standard output and do nothing else
};

// nullopt (after a line and the usage on standard error) when the flags make no sense.
std::optional<Options> parseOptions(const std::vector<std::string>& args);
const char* usageText();

}  // namespace orelog::demo

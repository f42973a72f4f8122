// What the demo pool answers to one API request, faults included.
#pragma once
#include <optional>
#include <string>

#include "demo_options.h"

namespace orelog::demo {

struct ApiRequest {
  std::optional<std::string> page, action, apiKey;
  std::optional<std::string> start, limit;  // getusertransactions' paging, as MPOS reads them
  long workersAnswer = 1;  // for getuserworkers: how many it has been asked, this request included
};

struct Answer {
  int status = 200;
  std::string body;
  std::optional<long> stallSeconds;  // wait before answering; 0 = until the process ends
  bool closeEarly = false;           // send half the body, then close the connection
  bool stallEarly = false;           // send half the body, then nothing until the process ends
  bool floodHeaders = false;         // send header lines without end instead of an answer
  std::optional<std::string> redirectTo;  // a redirect instead of the answer; empty: to the same URL
  bool chunkedCut = false;           // half the body in chunks, then close without the last chunk
};

// startTime and now are pool times in Unix seconds; runtimeMs goes into the envelope.
Answer answerRequest(const Options& options, const ApiRequest& request, long long startTime, long long now,
                     double runtimeMs);

}  // namespace orelog::demo

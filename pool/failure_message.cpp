// The message of a failed update step: the step, its cause, and what the player can do.
#include "pool/failure_message.h"

#include <string>

#include "util/utf.h"

namespace orelog {
namespace {

std::u16string_view fetchCause(HttpFailure failure) {
  switch (failure) {
    case HttpFailure::None: return {};
    case HttpFailure::Unreachable: return kCauseUnreachable;
    case HttpFailure::Certificate: return kCauseCertificate;
    case HttpFailure::SecureChannel: return kCauseSecureChannel;
    case HttpFailure::TimedOut: return kCauseTimedOut;
    case HttpFailure::Broken: return kCauseBroken;
    case HttpFailure::TooLarge: return kCauseTooLarge;
    case HttpFailure::Cancelled: return kCauseCancelled;
    case HttpFailure::RedirectLoop: return kCauseRedirectLoop;
    case HttpFailure::RedirectedAway: return kCauseRedirectedAway;
  }
  return kCauseBroken;
}

std::u16string_view fetchAdvice(HttpFailure failure) {
  switch (failure) {
    case HttpFailure::Unreachable:
    case HttpFailure::RedirectLoop:
    case HttpFailure::RedirectedAway: return kAdviceCheckNetwork;  // the address leads somewhere else
    case HttpFailure::Certificate:
    case HttpFailure::SecureChannel: return kAdviceCheckCertificate;
    case HttpFailure::TimedOut: return kAdviceNextUpdate;
    default: return {};  // a broken or oversized answer, or a cancel: nothing the player can mend
  }
}

std::u16string statusCause(int status) {
  std::u16string text(kCauseHttpStatus);
  text.replace(text.find(u"%d"), 2, decimalText(status));
  return text;
}

}  // namespace

std::u16string failureCause(const QueryResult& result) {
  switch (result.failure) {
    case QueryFailure::None: return {};
    case QueryFailure::Fetch: return std::u16string(fetchCause(result.fetched.failure));
    case QueryFailure::KeyRefused: return std::u16string(kCauseKeyRefused);
    case QueryFailure::Throttled: return std::u16string(kCauseThrottled);
    case QueryFailure::HttpStatus: return statusCause(result.fetched.status);
    case QueryFailure::NotApi: return std::u16string(kCauseNotApi);
    case QueryFailure::BadAnswer: return std::u16string(kCauseBadAnswer);
  }
  return std::u16string(kCauseBadAnswer);
}

std::u16string_view failureAdvice(const QueryResult& result) {
  switch (result.failure) {
    case QueryFailure::Fetch: return fetchAdvice(result.fetched.failure);
    case QueryFailure::KeyRefused: return kAdviceCopyKey;
    case QueryFailure::HttpStatus: return result.fetched.status == kStatusNotFound ? kAdviceApiScript : u"";
    case QueryFailure::NotApi: return kAdviceApiScript;
    case QueryFailure::Throttled: return kAdviceWait;
    case QueryFailure::None:
    case QueryFailure::BadAnswer: return {};
  }
  return {};
}

std::u16string failureMessage(std::u16string_view step, const QueryResult& result) {
  std::u16string message(step);
  const std::u16string cause = failureCause(result);
  for (const std::u16string_view line : {std::u16string_view(cause), failureAdvice(result)}) {
    if (!line.empty()) message.append(u"\n").append(line);
  }
  return message;
}

}  // namespace orelog

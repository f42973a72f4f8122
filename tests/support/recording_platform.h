// A platform that records what the shell asks of it, fetches for real and answers as scripted.
// Posted tasks wait in a queue until the test runs them, as an event loop would.
#pragma once
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "services/http.h"
#include "services/null_platform.h"
#include "services/system_services.h"
#include "util/utf.h"

namespace orelog::test {

// Short enough that a test against a dead port ends quickly; far above a loopback answer's time.
inline constexpr HttpTimeouts kShellTestTimeouts{5000, 1000, 2000};

struct RecordingPlatform : SystemServices<NullPlatform> {
  std::vector<std::string> calls;  // in order, e.g. "lock", "show", "message:..."
  std::vector<std::u16string> messages;
  std::vector<MessageOwner> owners;
  bool otherCopyHoldsLock = false;
  bool lockHeld = false;
  bool controlsEnabled = true;
  bool controlsVisible = true;
  bool timersRunning = false;
  int clientWidth = 0, clientHeight = 0;
  std::atomic<int> fetches = 0;  // counted on the pool thread
  uint32_t updateIntervalMs = 0;
  std::u16string poolField, keyField;
  std::optional<std::u16string> nameAnswer;  // what the name dialog gives back; nullopt = cancel
  std::optional<ConnectControlsContent> filled;
  std::function<void()> whileMessageOpen;  // runs inside the "modal loop" of each message

  uint32_t tickCountValue = 0;

  RecordingPlatform() { timeouts = kShellTestTimeouts; }

  uint32_t tickCount() override { return tickCountValue; }
  bool acquireInstanceLock() override {
    calls.push_back("lock");
    lockHeld = !otherCopyHoldsLock;
    return lockHeld;
  }
  void raiseRunningCopy() override { calls.push_back("raise"); }
  void releaseInstanceLock() override {
    calls.push_back("unlock");
    lockHeld = false;
  }
  void showMessage(std::u16string_view text, MessageOwner owner) override {
    calls.push_back("message:" + utf16ToUtf8(text));
    messages.emplace_back(text);
    owners.push_back(owner);
    if (whileMessageOpen) whileMessageOpen();
  }
  void showAbout() override { calls.push_back("about"); }
  std::optional<std::u16string> askPlayerName(std::u16string_view) override {
    calls.push_back("name");
    return nameAnswer;
  }
  HttpResult httpGet(const HttpRequest& request, std::span<uint8_t> buffer, const FetchCancel& cancel) override {
    ++fetches;
    return SystemServices::httpGet(request, buffer, cancel);
  }
  void postToUiThread(std::function<void()> task) override {
    {
      std::lock_guard lock(postedMutex);
      posted.push_back(std::move(task));
    }
    postedArrived.notify_all();
  }
  // Waits until a task has been posted, then runs the oldest on this thread.
  void runNextPosted() {
    std::function<void()> task;
    {
      std::unique_lock lock(postedMutex);
      postedArrived.wait(lock, [this] { return !posted.empty(); });
      task = std::move(posted.front());
      posted.pop_front();
    }
    task();
  }
  bool nothingPosted() {
    std::lock_guard lock(postedMutex);
    return posted.empty();
  }
  void setBusyCursor(bool busy) override { calls.push_back(busy ? "busy" : "idle"); }
  void fillConnectControls(const ConnectControlsContent& content) override {
    calls.push_back("fill");
    filled = content;
  }
  std::u16string connectFieldText(ConnectField field) override {
    return field == ConnectField::Pool ? poolField : keyField;
  }
  void setConnectControlsEnabled(bool enabled) override {
    calls.push_back(enabled ? "enable" : "disable");
    controlsEnabled = enabled;
  }
  void hideConnectControls() override {
    calls.push_back("hide");
    controlsVisible = false;
  }
  void showMainWindow() override { calls.push_back("show"); }
  void setClientSize(int width, int height) override {
    calls.push_back("size:" + std::to_string(width) + "x" + std::to_string(height));
    clientWidth = width;
    clientHeight = height;
  }
  void startTimers(uint32_t intervalMs) override {
    calls.push_back("timers");
    timersRunning = true;
    updateIntervalMs = intervalMs;
  }
  void repaint() override { calls.push_back("repaint"); }

 private:
  std::mutex postedMutex;
  std::condition_variable postedArrived;
  std::deque<std::function<void()>> posted;
};

}  // namespace orelog::test

// config.json and history.csv as files on Windows, run under Wine: links written through, read-only
// kept, left-over temporary files removed but never a held one, damaged records kept aside without
// following a link, a held record never replaced, no save the load would refuse, history rows
// appended at the file's end and never created through a link. Prints each failed check; exit 1
// when one failed.
// "record-file-test FOLDER" runs the cases in FOLDER, each in a folder of its name; Wine makes no
// symbolic links, so the caller plants them first: link-record/config.json -> real/target.json (an
// existing record), link-broken/config.json.broken -> mine.json and history-link/history.csv ->
// planted.csv (a link that leads nowhere). "record-file-test --peak FILE" loads FILE and prints the
// peak memory in MB and the time in seconds.
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "profile/catalogue.h"
#include "profile/history_append.h"
#include "profile/history_rows.h"
#include "profile/settings.h"
#include "services/record_file.h"

namespace orelog {
namespace {

namespace fs = std::filesystem;

int failures = 0;

void check(bool ok, const std::string& what, const std::string& detail = "") {
  if (ok) return;
  ++failures;
  std::fprintf(stderr, "FAILED: %s%s%s\n", what.c_str(), detail.empty() ? "" : ": ", detail.c_str());
}

std::string readAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeTo(const fs::path& file, const std::string& bytes) { std::ofstream(file, std::ios::binary) << bytes; }

PlayerRecord newRecord() {
  PlayerRecord record;
  record.level = 9;
  record.apiKey = u"secret";
  return record;
}

std::vector<std::string> names(const fs::path& folder) {
  std::vector<std::string> out;
  for (const auto& entry : fs::directory_iterator(folder)) out.push_back(entry.path().filename().string());
  return out;
}

const std::string kOld = R"({"Level":4,"Server":"http:\/\/old\/"})";
const std::string kDamaged = R"({"API Key":"demo","Level":37,"Experience":"lots"})";

// Each case runs in the folder of its name, the current one.
struct Case {
  const char* folder;
  const char* what;
  std::function<void(const std::string& what)> run;
};

// The caller checks that config.json is still a link.
void aLinkedRecordIsWrittenThrough(const std::string& what) {
  check(saveSettings(newRecord(), "config.json"), what, "the save failed");
  PlayerRecord reloaded;
  check(loadSettings(reloaded, "real/target.json", 0).loaded && reloaded.level == 9, what, "the target is not new");
  check(names(".").size() == 2 && names("real").size() == 1, what, "a temporary file was left");
}

void aReadOnlyRecordStaysReadOnly(const std::string& what) {
  writeTo("config.json", kOld);
  SetFileAttributesW(L"config.json", FILE_ATTRIBUTE_READONLY);
  check(saveSettings(newRecord(), "config.json"), what, "the save failed");
  const DWORD attributes = GetFileAttributesW(L"config.json");
  check(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0, what,
        "the read-only attribute is gone");
  check(readAll("config.json") != kOld, what, "the record was not replaced");
  SetFileAttributesW(L"config.json", FILE_ATTRIBUTE_NORMAL);
}

// A killed writer's temporary file goes at the next save; one a live writer holds stays.
void leftoverTemporaryFilesGoButHeldOnesStay(const std::string& what) {
  writeTo("config.json", kOld);
  writeTo("config.json.left01.tmp", R"({"API Key":"demo"})");
  writeTo("config.json.held01.tmp", R"({"API Key":"demo"})");
  HANDLE held = CreateFileW(L"config.json.held01.tmp", GENERIC_WRITE | DELETE, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  check(held != INVALID_HANDLE_VALUE, what, "cannot hold a file");
  check(saveSettings(newRecord(), "config.json"), what, "the save failed");
  check(!fs::exists("config.json.left01.tmp"), what, "a left-over temporary file stayed");
  check(fs::exists("config.json.held01.tmp"), what, "a held temporary file was removed");
  CloseHandle(held);
  check(saveSettings(newRecord(), "config.json"), what, "the second save failed");
  check(names(".") == std::vector<std::string>{"config.json"}, what, "temporary files stayed");
}

// A damaged record is kept aside; `plant` takes names for the copy first. The copy is found under
// one of `copies`, and the player's own file is never written through a link.
void keptAside(const std::string& what, const std::function<void()>& plant, const std::vector<std::string>& copies) {
  writeTo("config.json", kDamaged);
  writeTo("mine.json", "the player's own file");
  plant();
  PlayerRecord record;
  const SettingsLoad load = loadSettings(record, "config.json", 0);
  check(!load.loaded && load.savesAllowed(), what, "the load did not keep the damaged file aside");
  check(saveSettings(record, "config.json"), what, "the save failed");
  bool found = false;
  for (const auto& copy : copies) found = found || (fs::is_regular_file(fs::symlink_status(copy)) && readAll(copy) == kDamaged);
  check(found, what, "the damaged record is nowhere");
  check(readAll("mine.json") == "the player's own file", what, "the copy went through a link");
}

void noNameForTheCopyTurnsSavingOff(const std::string& what) {
  writeTo("config.json", kDamaged);
  fs::create_directory("config.json.broken");
  for (int number = 2; number <= 9; ++number) fs::create_directory("config.json.broken-" + std::to_string(number));
  PlayerRecord record;
  check(!loadSettings(record, "config.json", 0).savesAllowed(), what, "saving stayed on");
  check(readAll("config.json") == kDamaged, what, "the damaged file changed");
}

void aSaveOverTheLimitLeavesTheOldFile(const std::string& what) {
  const std::string oneItem = R"({"Item ID":0,"X":0,"Y":0},)";
  std::string itemsOnly = R"({"Items":[)";
  while (itemsOnly.size() + oneItem.size() + 2 <= kRecordFileMaxBytes) itemsOnly += oneItem;
  itemsOnly.back() = ']';
  itemsOnly += '}';
  writeTo("config.json", itemsOnly);
  PlayerRecord record;
  const SettingsLoad load = loadSettings(record, "config.json", 0);
  check(load.loaded, what, "a file within the limit did not load");
  check(load.savesOff == SavesOff::TooLargeToSave, what, "the load did not say that no save can succeed");
  check(!saveSettings(record, "config.json"), what, "a text over the limit was saved");
  check(readAll("config.json") == itemsOnly, what, "the old file changed");
}

// A record another program holds without sharing it cannot be read: it is not missing, nothing is
// kept aside, and saving is off for the run.
void aHeldRecordIsUnreadable(const std::string& what) {
  writeTo("config.json", kOld);
  HANDLE held = CreateFileW(L"config.json", GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  check(held != INVALID_HANDLE_VALUE, what, "the record could not be held");
  PlayerRecord record;
  const SettingsLoad load = loadSettings(record, "config.json", 0);
  check(readRecordFile("config.json").state == RecordFileState::Unreadable, what, "taken for another state");
  check(!load.loaded && load.savesOff == SavesOff::Unreadable, what, "saving stayed on");
  CloseHandle(held);
  check(readAll("config.json") == kOld, what, "the record changed");
  check(names(".") == std::vector<std::string>{"config.json"}, what, "a file was added");
}

std::string historyRow(int32_t khs) {
  PlayerRecord record;
  record.totalHashrate = khs;
  record.workers = {{"acct.rig", khs}};
  return historyRowLine(record, {{2026, 12, 11, 9, 34, 5}, 540});
}

// A writer whose lock this one cannot see (the Linux tool on the same folder) adds a row between
// this editor's read and its write: the row lands after it, never under it.
void aRowAddedUnderAnotherLockIsKept(const std::string& what) {
  const std::string before = historyHeaderLine() + historyRow(1);
  writeTo(kHistoryFileName, before);
  const bool added = editHistoryFile(kHistoryFileName, kHistoryReadLimit, [&](std::string_view current) {
    HistoryFileEdit edit = planHistoryAppend(current, historyRow(3));
    std::ofstream(kHistoryFileName, std::ios::binary | std::ios::app) << historyRow(2);
    return edit;
  });
  check(added, what, "the row was not added");
  const std::string after = readAll(kHistoryFileName);
  check(after == before + historyRow(2) + historyRow(3), what, "a row was overwritten: " + after);
}

// The caller plants history.csv -> planted.csv, a link that leads nowhere: nothing is created there.
void noHistoryIsCreatedThroughALink(const std::string& what) {
  check(!appendHistoryRow(kHistoryFileName, historyRow(1)), what, "a row was added");
  check(!fs::exists("planted.csv"), what, "a file was created through the link");
}

// A link under the copy's name, which Wine shows as a file, is replaced or passed over, never followed.
const Case kCases[] = {
    {"link-record", "a linked record is written through", aLinkedRecordIsWrittenThrough},
    {"read-only", "a read-only record stays read-only", aReadOnlyRecordStaysReadOnly},
    {"leftovers", "left-over temporary files go, held ones stay", leftoverTemporaryFilesGoButHeldOnesStay},
    {"broken", "a damaged record is kept aside",
     [](const std::string& w) { keptAside(w, [] {}, {"config.json.broken"}); }},
    {"link-broken", "a link under the copy's name is not followed",
     [](const std::string& w) { keptAside(w, [] {}, {"config.json.broken", "config.json.broken-2"}); }},
    {"folder-broken", "a folder under the copy's name is left alone",
     [](const std::string& w) {
       keptAside(w, [] { fs::create_directory("config.json.broken"); }, {"config.json.broken-2"});
       check(fs::is_directory("config.json.broken"), w, "the folder is gone");
     }},
    {"no-name", "no name for the copy turns saving off", noNameForTheCopyTurnsSavingOff},
    {"over-limit", "a save over the limit leaves the old file", aSaveOverTheLimitLeavesTheOldFile},
    {"held", "a record held by another program is unreadable", aHeldRecordIsUnreadable},
    {"history-append", "a history row added under another lock is kept", aRowAddedUnderAnotherLockIsKept},
    {"history-link", "no history is created through a link", noHistoryIsCreatedThroughALink},
};

int runCases(const fs::path& folder) {
  for (const Case& c : kCases) {
    const fs::path place = folder / c.folder;
    fs::create_directories(place);
    fs::current_path(place);
    c.run(c.what);
    fs::current_path(folder);
  }
  std::printf("%zu cases, %d failed checks\n", std::size(kCases), failures);
  return failures == 0 ? 0 : 1;
}

int measurePeak(const fs::path& file) {
  const auto start = std::chrono::steady_clock::now();
  PlayerRecord record;
  const SettingsLoad load = loadSettings(record, file, 0);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  PROCESS_MEMORY_COUNTERS counters{};
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  // SIZE_T is unsigned long on 32-bit Windows, not size_t's unsigned int.
  const std::size_t peakMegabytes = counters.PeakWorkingSetSize / (1024 * 1024);
  std::printf("loaded %d items %zu peak %zu MB time %.2f s\n", load.loaded ? 1 : 0, record.items.size(),
              peakMegabytes, took.count());
  return 0;
}

}  // namespace
}  // namespace orelog

int wmain(int argc, wchar_t** argv) {
  if (argc == 3 && std::wstring(argv[1]) == L"--peak") return orelog::measurePeak(argv[2]);
  if (argc != 2) {
    std::fputs("usage: record-file-test FOLDER | --peak FILE\n", stderr);
    return 2;
  }
  return orelog::runCases(std::filesystem::absolute(argv[1]));
}

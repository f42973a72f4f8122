// history.csv as a file: created owner-only, appended to, a torn tail cut, a foreign file, a pipe or a
// folder left alone, links followed, the size limit, and writers at once.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "profile/history_append.h"
#include "profile/history_rows.h"
#include "tests/support/read_file.h"
#include "tests/support/temp_folder.h"

namespace orelog {
namespace {

namespace fs = std::filesystem;

std::string rowFor(int32_t khs) {
  PlayerRecord record;
  record.totalHashrate = khs;
  record.workers = {{"acct.rig", static_cast<double>(khs)}};
  return historyRowLine(record, {{2026, 12, 11, 9, 34, 5}, 540});
}

class HistoryFile : public ::testing::Test {
 protected:
  fs::path file() const { return temp_.file(kHistoryFileName); }
  test::TempFolder temp_{"orelog-history-file"};
};

TEST_F(HistoryFile, TheFirstRowStartsAnOwnerOnlyFileAndLaterRowsFollowIt) {
  ASSERT_TRUE(appendHistoryRow(file(), rowFor(1)));
  ASSERT_TRUE(appendHistoryRow(file(), rowFor(2)));
  EXPECT_EQ(test::readFile(file()), historyHeaderLine() + rowFor(1) + rowFor(2));
  struct stat status {};
  ASSERT_EQ(::stat(file().c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 077, 0u) << "others may not read the pool account's name";
}

TEST_F(HistoryFile, ATornLastLineIsDroppedAtTheNextAppendAndNothingElse) {
  const std::string whole = historyHeaderLine() + rowFor(1) + rowFor(2);
  for (const std::string& torn : {rowFor(3).substr(0, 9), rowFor(3).substr(0, rowFor(3).size() - 1)}) {
    temp_.write(kHistoryFileName, whole + torn);
    ASSERT_TRUE(appendHistoryRow(file(), rowFor(4)));
    EXPECT_EQ(test::readFile(file()), whole + rowFor(4));
  }
  temp_.write(kHistoryFileName, historyHeaderLine().substr(0, 12));  // killed as the file was started
  ASSERT_TRUE(appendHistoryRow(file(), rowFor(5)));
  EXPECT_EQ(test::readFile(file()), historyHeaderLine() + rowFor(5));
}

TEST_F(HistoryFile, AFileThatIsNotOursIsLeftAsItIs) {
  for (const std::string& foreign : {std::string("date,khs\r\n2026-01-01,5\r\n"), std::string("a note"),
                                     std::string("\0\0\0", 3)}) {
    temp_.write(kHistoryFileName, foreign);
    EXPECT_FALSE(appendHistoryRow(file(), rowFor(1)));
    EXPECT_EQ(test::readFile(file()), foreign);
  }
}

TEST_F(HistoryFile, APipeOrAFolderOfThatNameIsNeverOpened) {
  ASSERT_EQ(::mkfifo(file().c_str(), 0600), 0);
  EXPECT_FALSE(appendHistoryRow(file(), rowFor(1))) << "and it did not wait for a writer";
  fs::remove(file());
  fs::create_directory(file());
  EXPECT_FALSE(appendHistoryRow(file(), rowFor(1)));
  EXPECT_TRUE(fs::is_empty(file()));
}

TEST_F(HistoryFile, ALinkIsFollowedAndStaysALinkThroughAnAppendAndATrim) {
  const fs::path target = temp_.file("kept-elsewhere.csv");
  temp_.write("kept-elsewhere.csv", historyHeaderLine() + rowFor(1));
  fs::create_symlink(target.filename(), file());
  ASSERT_TRUE(appendHistoryRow(file(), rowFor(2)));
  EXPECT_EQ(test::readFile(target), historyHeaderLine() + rowFor(1) + rowFor(2));

  const std::string row = rowFor(3);
  std::string full = historyHeaderLine();
  while (full.size() + row.size() <= kHistoryMaxBytes) full += row;
  temp_.write("kept-elsewhere.csv", full);
  ASSERT_TRUE(appendHistoryRow(file(), rowFor(4)));
  EXPECT_TRUE(fs::is_symlink(file()));
  const std::string trimmed = test::readFile(target);
  EXPECT_LE(trimmed.size(), kHistoryTrimmedBytes);
  EXPECT_EQ(trimmed.substr(0, historyHeaderLine().size()), historyHeaderLine());
  EXPECT_EQ(trimmed.substr(trimmed.size() - rowFor(4).size()), rowFor(4));
  EXPECT_EQ((trimmed.size() - historyHeaderLine().size()) % row.size(), 0u) << "only whole rows";
}

// A link that leads nowhere, to a missing file or into a missing folder, is never created through:
// the link stays as it is and nothing appears where it points.
TEST_F(HistoryFile, NoFileIsCreatedThroughALink) {
  const fs::path cases[] = {temp_.file("planted.csv"), temp_.file("missing-folder") / "planted.csv",
                            temp_.file("loop.csv")};
  for (const fs::path& to : cases) {
    fs::remove(file());
    fs::create_symlink(to, file());
    if (to.filename() == "loop.csv") fs::create_symlink(file(), to);
    EXPECT_FALSE(appendHistoryRow(file(), rowFor(1))) << to;
    EXPECT_TRUE(fs::is_symlink(file())) << to;
    EXPECT_FALSE(fs::is_regular_file(fs::symlink_status(to))) << to;
    fs::remove(temp_.file("loop.csv"));
  }
}

// A writer whose lock this one cannot see (another system's on the same folder) adds a row between
// this editor's read and its write: the row lands after it, since writes go to the file's end as it
// is then, and neither is overwritten.
TEST_F(HistoryFile, ARowAddedUnderAnotherLockIsNeverOverwritten) {
  struct Case {
    const char* what;
    std::string tail;  // after the last whole row when the editor reads
  };
  const Case cases[] = {{"whole rows", ""}, {"a torn tail", rowFor(9).substr(0, 7)}};
  for (const Case& c : cases) {
    const std::string before = historyHeaderLine() + rowFor(1);
    temp_.write(kHistoryFileName, before + c.tail);
    const bool added = editHistoryFile(file(), kHistoryReadLimit, [&](std::string_view current) {
      HistoryFileEdit edit = planHistoryAppend(current, rowFor(3));
      std::ofstream(file(), std::ios::binary | std::ios::app) << rowFor(2);  // no lock taken
      return edit;
    });
    ASSERT_TRUE(added) << c.what;
    const std::string after = test::readFile(file());
    EXPECT_NE(after.find(rowFor(3)), std::string::npos) << c.what;
    if (c.tail.empty()) {
      EXPECT_EQ(after, before + rowFor(2) + rowFor(3)) << c.what;
    }
    const auto rows = parseHistory(after);
    ASSERT_TRUE(rows) << c.what;
    EXPECT_EQ(after.substr(after.size() - rowFor(3).size()), rowFor(3)) << c.what << ": rows stay whole lines";
  }
}

TEST_F(HistoryFile, AFileBeyondTheReadLimitIsNotRead) {
  temp_.write(kHistoryFileName, historyHeaderLine() + rowFor(1));
  bool planned = false;
  EXPECT_FALSE(editHistoryFile(file(), 10, [&](std::string_view) {
    planned = true;
    return HistoryFileEdit{};
  }));
  EXPECT_FALSE(planned);
  EXPECT_EQ(test::readFile(file()), historyHeaderLine() + rowFor(1));
}

// Editors take turns: every row of each arrives whole, none is cut away by another's torn-tail rule.
TEST_F(HistoryFile, WritersAtOnceLoseNoRow) {
  constexpr int kWriters = 4;
  constexpr int kRowsEach = 50;
  std::vector<std::thread> writers;
  for (int w = 0; w < kWriters; ++w) {
    writers.emplace_back([this, w] {
      for (int i = 0; i < kRowsEach; ++i) appendHistoryRow(file(), rowFor(w * 1000 + i));
    });
  }
  for (auto& writer : writers) writer.join();
  const auto rows = parseHistory(test::readFile(file()));
  ASSERT_TRUE(rows);
  EXPECT_EQ(rows->size(), static_cast<std::size_t>(kWriters * kRowsEach));
}

}  // namespace
}  // namespace orelog

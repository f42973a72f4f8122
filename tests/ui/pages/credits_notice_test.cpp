// The credits box's licence notice: its layout, and that it says what the installed header says.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ui/credits_notice.h"
#include "util/utf.h"

namespace orelog {
namespace {

std::vector<std::u16string> linesOf(std::u16string_view text) {
  std::vector<std::u16string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find(u"\r\n", start)) != std::u16string_view::npos; start = end + 2) {
    lines.emplace_back(text.substr(start, end - start));
  }
  lines.emplace_back(text.substr(start));
  return lines;
}

TEST(CreditsNotice, LinesAreSeparatedByCrLfOnly) {
  const std::u16string_view notice = creditsNotice();
  ASSERT_FALSE(notice.empty());
  for (std::size_t i = 0; i < notice.size(); ++i) {
    if (notice[i] == u'\n') {
      EXPECT_TRUE(i > 0 && notice[i - 1] == u'\r') << "bare LF at " << i;
    }
    if (notice[i] == u'\r') {
      EXPECT_TRUE(i + 1 < notice.size() && notice[i + 1] == u'\n') << "bare CR at " << i;
    }
  }
  EXPECT_FALSE(notice.ends_with(u"\r\n"));
}

TEST(CreditsNotice, NameCopyrightsRightsThenTheLicenceInParagraphs) {
  const std::vector<std::u16string> lines = linesOf(creditsNotice());
  ASSERT_EQ(lines.size(), 12u);
  EXPECT_EQ(lines[0], u"picojson");
  EXPECT_TRUE(lines[1].starts_with(u"Copyright ")) << utf16ToUtf8(lines[1]);
  EXPECT_TRUE(lines[2].starts_with(u"Copyright ")) << utf16ToUtf8(lines[2]);
  EXPECT_EQ(lines[3], u"All rights reserved.");
  EXPECT_EQ(lines[4], u"");
  EXPECT_TRUE(lines[5].starts_with(u"Redistribution and use in source and binary forms"));
  EXPECT_TRUE(lines[5].ends_with(u"conditions are met:"));
  EXPECT_EQ(lines[6], u"");
  EXPECT_TRUE(lines[7].starts_with(u"    1. Redistributions of source code")) << utf16ToUtf8(lines[7]);
  EXPECT_EQ(lines[8], u"");
  EXPECT_TRUE(lines[9].starts_with(u"    2. Redistributions in binary form")) << utf16ToUtf8(lines[9]);
  EXPECT_EQ(lines[10], u"");
  EXPECT_TRUE(lines[11].starts_with(u"THIS SOFTWARE IS PROVIDED"));
  EXPECT_TRUE(lines[11].ends_with(u"POSSIBILITY OF SUCH DAMAGE."));
}

// Words only: the notice re-flows the header's lines, it does not change a word.
std::vector<std::string> wordsOf(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string word; in >> word;) {
    if (word != "*") words.push_back(word);
  }
  return words;
}

TEST(CreditsNotice, SaysWordForWordWhatTheInstalledHeaderSays) {
  std::ifstream header(PICOJSON_HEADER_PATH);
  ASSERT_TRUE(header) << PICOJSON_HEADER_PATH;
  const std::string content((std::istreambuf_iterator<char>(header)), std::istreambuf_iterator<char>());
  const std::size_t start = content.find("/*");
  const std::size_t end = content.find("*/");
  ASSERT_LT(start, end);
  const std::string comment = content.substr(start + 2, end - start - 2);

  std::vector<std::string> expected{"picojson"};
  for (std::string& word : wordsOf(comment)) expected.push_back(std::move(word));
  EXPECT_EQ(wordsOf(utf16ToUtf8(creditsNotice())), expected);
}

}  // namespace
}  // namespace orelog

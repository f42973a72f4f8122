// The Windows program's resources say what the core says: the same title, dialog texts, sizes and
// fonts, accelerators and sheet files.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "app/accelerators.h"
#include "app/dialogs.h"
#include "app/shell.h"
#include "tests/support/read_file.h"
#include "util/utf.h"

namespace orelog {
namespace {

const std::string kResourceFile = ORELOG_SOURCE_DIR "/res/orelog.rc";

std::string resources() {
  return test::readFile(kResourceFile);
}

// The lines of the block that starts with `header` (up to its END), or empty when it is missing.
std::string block(const std::string& header) {
  const std::string text = resources();
  const auto start = text.find(header);
  if (start == std::string::npos) return {};
  const auto end = text.find("\nEND", start);
  return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::vector<std::string> matches(const std::string& text, const std::string& pattern) {
  std::vector<std::string> found;
  const std::regex expression(pattern);
  for (auto it = std::sregex_iterator(text.begin(), text.end(), expression); it != std::sregex_iterator();
       ++it)
    found.push_back((*it)[1]);
  return found;
}

std::string quoted(std::u16string_view text) {
  return "\"" + utf16ToUtf8(text) + "\"";
}

std::string sizeLine(const std::string& id, DialogSize size) {
  return id + " DIALOGEX 0, 0, " + std::to_string(size.width) + ", " + std::to_string(size.height);
}

std::string fontLine(DialogFont font) {
  return "FONT " + std::to_string(font.points) + ", " + quoted(font.face);
}

TEST(WindowsResources, TheStringTableHoldsTheTitle) {
  const std::string strings = block("STRINGTABLE");
  EXPECT_NE(strings.find("ORELOG_ID_TITLE_STRING " + quoted(kWindowTitle)), std::string::npos) << strings;
  EXPECT_NE(strings.find("ORELOG_ID_CLASS_STRING \"ORELOG\""), std::string::npos) << strings;
}

TEST(WindowsResources, TheAboutBoxShowsTheCoreTexts) {
  const std::string about = block(sizeLine("ORELOG_ID_ABOUT_DIALOG", kAboutSize));
  ASSERT_FALSE(about.empty()) << "no About box of " << kAboutSize.width << " x " << kAboutSize.height;
  EXPECT_NE(about.find("CAPTION " + quoted(kAboutCaption)), std::string::npos) << about;
  EXPECT_NE(about.find(fontLine(kAboutFont)), std::string::npos) << about;
  const std::vector<std::string> texts = matches(about, R"(\n\s*(?:LTEXT|DEFPUSHBUTTON) ("[^"]*"))");
  EXPECT_EQ(texts, (std::vector<std::string>{quoted(kAboutVersionLine), quoted(kAboutSecondLine),
                                             quoted(kOkButton)}));
}

TEST(WindowsResources, TheNameDialogShowsTheCoreTexts) {
  const std::string name = block(sizeLine("ORELOG_ID_NAME_DIALOG", kNameDialogSize));
  ASSERT_FALSE(name.empty()) << "no name dialog of " << kNameDialogSize.width << " x "
                             << kNameDialogSize.height;
  EXPECT_NE(name.find("CAPTION " + quoted(kNameCaption)), std::string::npos) << name;
  EXPECT_NE(name.find(fontLine(kNameDialogFont)), std::string::npos) << name;
  const std::vector<std::string> texts = matches(name, R"(\n\s*(?:LTEXT|DEFPUSHBUTTON) ("[^"]*"))");
  EXPECT_EQ(texts, (std::vector<std::string>{quoted(kNameLabel), quoted(kNameLimitNote), quoted(kNameButton)}));
}

TEST(WindowsResources, TheAcceleratorsAreTheCoreOnes) {
  const std::string table = block("ORELOG_ID_ACCELERATORS ACCELERATORS");
  const std::vector<std::string> keys = matches(table, R"re(\n\s*"(.)", ORELOG_COMMAND_ABOUT, ASCII, ALT)re");
  std::vector<std::string> expected;
  for (const Accelerator& accelerator : kAccelerators) {
    ASSERT_EQ(accelerator.command, kCommandAbout);
    expected.push_back(std::string(1, static_cast<char>(accelerator.character)));
  }
  EXPECT_EQ(keys, expected) << table;
}

}  // namespace
}  // namespace orelog

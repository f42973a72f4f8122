// Reads the text art format: palettes and pictures of characters, one character per pixel.
#include "art_file.h"

#include <array>
#include <cassert>
#include <charconv>
#include <fstream>
#include <optional>
#include <sstream>

namespace orelog::sheetgen {

namespace {

constexpr char kTransparent = '.';
constexpr char kComment = '#';
constexpr std::size_t kHexDigits = 6;

// Editors on some systems start UTF-8 files with a byte order mark; it is not content.
std::string_view withoutByteOrderMark(std::string_view text) {
  constexpr std::string_view kMark = "\xEF\xBB\xBF";
  return text.substr(0, kMark.size()) == kMark ? text.substr(kMark.size()) : text;
}

struct Line {
  std::string_view text;  // without surrounding blanks
  int number = 0;
};

// The lines that carry content: blank lines and comment lines are dropped here.
std::vector<Line> contentLines(std::string_view text) {
  std::vector<Line> lines;
  int number = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    ++number;
    const std::size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string_view::npos || line[first] == kComment) continue;
    const std::size_t last = line.find_last_not_of(" \t\r");
    lines.push_back({line.substr(first, last - first + 1), number});
  }
  return lines;
}

struct Palette {
  std::array<std::optional<ArtPixel>, 256> colours;  // by character code
};

std::optional<ArtPixel> parseHexColour(std::string_view hex) {
  if (hex.size() != kHexDigits) return std::nullopt;
  unsigned value = 0;
  auto [end, ec] = std::from_chars(hex.data(), hex.data() + hex.size(), value, 16);
  if (ec != std::errc{} || end != hex.data() + hex.size()) return std::nullopt;
  return ArtPixel{static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 8),
                  static_cast<uint8_t>(value), true};
}

std::optional<int> parseInt(std::string_view text) {
  int value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// Splits "word rest" at the first blank; rest keeps its inner blanks.
std::pair<std::string_view, std::string_view> splitWord(std::string_view text) {
  const std::size_t blank = text.find_first_of(" \t");
  if (blank == std::string_view::npos) return {text, {}};
  const std::size_t rest = text.find_first_not_of(" \t", blank);
  if (rest == std::string_view::npos) return {text.substr(0, blank), {}};
  return {text.substr(0, blank), text.substr(rest)};
}

// A character as a message shows it: quoted when printable, as a byte value otherwise.
std::string describeCharacter(unsigned char c) {
  constexpr unsigned char kFirstPrintable = 0x21, kLastPrintable = 0x7e;
  // Built with append: GCC 12 at -O3 misreports `"'" + std::string` inside libstdc++ as an
  // overlapping copy (-Wrestrict).
  if (c >= kFirstPrintable && c <= kLastPrintable)
    return std::string("'").append(1, static_cast<char>(c)).append("'");
  constexpr const char* kHex = "0123456789abcdef";
  return std::string("byte 0x") + kHex[c >> 4] + kHex[c & 0xf];
}

// Where the reading stands: the content lines, the next one to read, the palette in force.
struct Reader {
  std::vector<Line> lines;
  std::size_t next = 0;
  std::string source;
  Palette palette;
  ArtParse result;
};

bool ok(const Reader& r) { return r.result.error.empty(); }

// Keeps the first fault only: later ones are usually its consequences.
void fail(Reader& r, const Line& line, const std::string& message) {
  if (ok(r)) r.result.error = r.source + ":" + std::to_string(line.number) + ": " + message;
}

// The next content line, or nullopt (with a fault at `opener`) when the file ends before `what`.
std::optional<Line> take(Reader& r, const Line& opener, const char* what) {
  if (r.next < r.lines.size()) return r.lines[r.next++];
  fail(r, opener, std::string("the file ends before ") + what);
  return std::nullopt;
}

void readColour(Reader& r, const Line& line) {
  const auto [key, value] = splitWord(line.text);
  if (key.size() != 1) {
    return fail(r, line, "a palette line is one character and a colour, found \"" + std::string(line.text) + "\"");
  }
  const unsigned char c = static_cast<unsigned char>(key[0]);
  if (c == kTransparent) {
    if (value != "transparent") fail(r, line, "'.' is always transparent");
    return;
  }
  const auto colour = parseHexColour(value);
  if (!colour) return fail(r, line, "colour of '" + std::string(key) + "' is not 6 hex digits: \"" + std::string(value) + "\"");
  if (r.palette.colours[c]) return fail(r, line, "colour '" + std::string(key) + "' is defined twice");
  r.palette.colours[c] = colour;
}

void readPalette(Reader& r, const Line& opener) {
  r.palette = Palette{};
  constexpr const char* kEnd = "the palette's \"end\"";
  for (auto line = take(r, opener, kEnd); ok(r) && line; line = take(r, opener, kEnd)) {
    if (line->text == "end") return;
    readColour(r, *line);
  }
}

bool readPosition(Reader& r, const Line& header, Picture& picture) {
  const auto line = take(r, header, "\"at X Y\"");
  if (!line) return false;
  const auto [word, rest] = splitWord(line->text);
  const auto [xText, yText] = splitWord(rest);
  const auto x = parseInt(xText);
  const auto y = parseInt(yText);
  if (word != "at" || !x || !y) {
    fail(r, *line, "expected \"at X Y\" after \"picture " + picture.name + "\"");
    return false;
  }
  picture.x = *x;
  picture.y = *y;
  return true;
}

bool readRowsKeyword(Reader& r, const Line& header) {
  const auto line = take(r, header, "\"rows\"");
  if (line && line->text != "rows") fail(r, *line, "expected \"rows\"");
  return ok(r);
}

std::vector<Line> readRows(Reader& r, const Line& header) {
  std::vector<Line> rows;
  constexpr const char* kEnd = "the picture's \"end\"";
  for (auto line = take(r, header, kEnd); line; line = take(r, header, kEnd)) {
    if (line->text == "end") return rows;
    rows.push_back(*line);
  }
  return rows;
}

ArtPixel pixelOf(Reader& r, const Line& row, int x) {
  const unsigned char c = static_cast<unsigned char>(row.text[static_cast<std::size_t>(x)]);
  if (c == kTransparent) return ArtPixel{};
  if (!r.palette.colours[c]) {
    fail(r, row, "unknown colour character " + describeCharacter(c) + " in column " + std::to_string(x + 1));
  }
  return r.palette.colours[c].value_or(ArtPixel{});
}

void fillPixels(Reader& r, Picture& picture, const std::vector<Line>& rows) {
  picture.width = static_cast<int>(rows.front().text.size());
  picture.height = static_cast<int>(rows.size());
  picture.pixels.assign(static_cast<std::size_t>(picture.width) * picture.height, ArtPixel{});
  for (int y = 0; y < picture.height && ok(r); ++y) {
    const Line& row = rows[static_cast<std::size_t>(y)];
    if (static_cast<int>(row.text.size()) != picture.width) {
      return fail(r, row, "row is " + std::to_string(row.text.size()) + " wide, the picture's first row " +
                              std::to_string(picture.width));
    }
    for (int x = 0; x < picture.width && ok(r); ++x) picture.at(x, y) = pixelOf(r, row, x);
  }
}

void readPicture(Reader& r, const Line& header, std::string_view name) {
  if (name.empty()) return fail(r, header, "a picture needs a name");
  Picture picture;
  picture.name = name;
  picture.source = r.source;
  picture.line = header.number;
  if (!readPosition(r, header, picture) || !readRowsKeyword(r, header)) return;
  const std::vector<Line> rows = readRows(r, header);
  if (ok(r) && rows.empty()) return fail(r, header, "picture \"" + picture.name + "\" has no rows");
  if (ok(r)) fillPixels(r, picture, rows);
  if (ok(r)) r.result.pictures.push_back(std::move(picture));
}

}  // namespace

Picture blankPicture(std::string name, int x, int y, int width, int height) {
  assert(width > 0 && height > 0 && "a picture has at least one pixel");
  Picture picture;
  picture.name = std::move(name);
  picture.source = "<drawn>";
  picture.x = x;
  picture.y = y;
  picture.width = width;
  picture.height = height;
  picture.pixels.assign(static_cast<std::size_t>(width) * height, ArtPixel{});
  return picture;
}

ArtParse parseArtText(std::string_view text, const std::string& source) {
  Reader r{contentLines(withoutByteOrderMark(text)), 0, source, {}, {}};
  while (ok(r) && r.next < r.lines.size()) {
    const Line& line = r.lines[r.next++];
    const auto [word, rest] = splitWord(line.text);
    if (line.text == "palette") readPalette(r, line);
    else if (word == "picture") readPicture(r, line, rest);
    else fail(r, line, "expected \"palette\" or \"picture NAME\", found \"" + std::string(line.text) + "\"");
  }
  if (!ok(r)) r.result.pictures.clear();
  return std::move(r.result);
}

ArtParse parseArtFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {{}, path + ": cannot be read"};
  std::ostringstream text;
  text << in.rdbuf();
  return parseArtText(text.str(), path);
}

}  // namespace orelog::sheetgen

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
  return {text.substr(0, blank), text.substr(rest)};
}

class Reader {
 public:
  Reader(std::string_view text, const std::string& source) : lines_(contentLines(text)), source_(source) {}

  ArtParse run() {
    while (ok() && next_ < lines_.size()) {
      const Line& line = lines_[next_++];
      const auto [word, rest] = splitWord(line.text);
      if (line.text == "palette") readPalette(line);
      else if (word == "picture") readPicture(line, rest);
      else fail(line, "expected \"palette\" or \"picture NAME\", found \"" + std::string(line.text) + "\"");
    }
    if (!ok()) result_.pictures.clear();
    return std::move(result_);
  }

 private:
  bool ok() const { return result_.error.empty(); }

  void fail(const Line& line, const std::string& message) { failAt(line.number, message); }
  void failAt(int number, const std::string& message) {
    if (ok()) result_.error = source_ + ":" + std::to_string(number) + ": " + message;
  }

  // The next content line, or nullopt (with an error) when the file ends before `what`.
  std::optional<Line> take(const Line& opener, const char* what) {
    if (next_ < lines_.size()) return lines_[next_++];
    fail(opener, std::string("the file ends before ") + what);
    return std::nullopt;
  }

  void readPalette(const Line& opener) {
    palette_ = Palette{};
    for (auto line = take(opener, "the palette's \"end\""); ok() && line; line = take(opener, "the palette's \"end\"")) {
      if (line->text == "end") return;
      readColour(*line);
    }
  }

  void readColour(const Line& line) {
    const auto [key, value] = splitWord(line.text);
    if (key.size() != 1) return fail(line, "a palette line is one character and a colour, found \"" + std::string(line.text) + "\"");
    const unsigned char c = static_cast<unsigned char>(key[0]);
    if (c == kTransparent) {
      if (value != "transparent") fail(line, "'.' is always transparent");
      return;
    }
    const auto colour = parseHexColour(value);
    if (!colour) return fail(line, "colour of '" + std::string(key) + "' is not 6 hex digits: \"" + std::string(value) + "\"");
    if (palette_.colours[c]) return fail(line, "colour '" + std::string(key) + "' is defined twice");
    palette_.colours[c] = colour;
  }

  void readPicture(const Line& header, std::string_view name) {
    if (name.empty()) return fail(header, "a picture needs a name");
    Picture picture;
    picture.name = name;
    picture.source = source_;
    picture.line = header.number;
    if (!readPosition(header, picture) || !readRowsKeyword(header)) return;
    std::vector<Line> rows = readRows(header);
    if (ok() && rows.empty()) return fail(header, "picture \"" + picture.name + "\" has no rows");
    if (ok()) fillPixels(picture, rows);
    if (ok()) result_.pictures.push_back(std::move(picture));
  }

  bool readPosition(const Line& header, Picture& picture) {
    const auto line = take(header, "\"at X Y\"");
    if (!line) return false;
    const auto [word, rest] = splitWord(line->text);
    const auto [xText, yText] = splitWord(rest);
    const auto x = parseInt(xText);
    const auto y = parseInt(yText);
    if (word != "at" || !x || !y) {
      fail(*line, "expected \"at X Y\" after \"picture " + picture.name + "\"");
      return false;
    }
    picture.x = *x;
    picture.y = *y;
    return true;
  }

  bool readRowsKeyword(const Line& header) {
    const auto line = take(header, "\"rows\"");
    if (line && line->text != "rows") fail(*line, "expected \"rows\"");
    return ok();
  }

  std::vector<Line> readRows(const Line& header) {
    std::vector<Line> rows;
    for (auto line = take(header, "the picture's \"end\""); line; line = take(header, "the picture's \"end\"")) {
      if (line->text == "end") return rows;
      rows.push_back(*line);
    }
    return rows;
  }

  void fillPixels(Picture& picture, const std::vector<Line>& rows) {
    picture.width = static_cast<int>(rows.front().text.size());
    picture.height = static_cast<int>(rows.size());
    picture.pixels.assign(static_cast<std::size_t>(picture.width) * picture.height, ArtPixel{});
    for (int y = 0; y < picture.height && ok(); ++y) {
      const Line& row = rows[static_cast<std::size_t>(y)];
      if (static_cast<int>(row.text.size()) != picture.width) {
        return fail(row, "row is " + std::to_string(row.text.size()) + " wide, the picture's first row " +
                             std::to_string(picture.width));
      }
      for (int x = 0; x < picture.width && ok(); ++x) picture.at(x, y) = pixelOf(row, x);
    }
  }

  ArtPixel pixelOf(const Line& row, int x) {
    const unsigned char c = static_cast<unsigned char>(row.text[static_cast<std::size_t>(x)]);
    if (c == kTransparent) return ArtPixel{};
    if (!palette_.colours[c]) fail(row, "unknown colour character '" + std::string(1, static_cast<char>(c)) + "' in column " + std::to_string(x + 1));
    return palette_.colours[c].value_or(ArtPixel{});
  }

  std::vector<Line> lines_;
  std::size_t next_ = 0;
  std::string source_;
  Palette palette_;
  ArtParse result_;
};

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

ArtParse parseArtText(std::string_view text, const std::string& source) { return Reader(text, source).run(); }

ArtParse parseArtFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {{}, path + ": cannot be read"};
  std::ostringstream text;
  text << in.rdbuf();
  return parseArtText(text.str(), path);
}

}  // namespace orelog::sheetgen

#include "platform/frontend/wrap.h"

#include <algorithm>
#include <vector>

namespace qb {

namespace {

std::string_view trimmed(std::string_view line) {
  while (!line.empty() && line.back() == ' ')
    line.remove_suffix(1);
  return line;
}

std::size_t codePointLength(std::string_view text, std::size_t at) {
  std::size_t length = 1;
  while (at + length < text.size() &&
         (static_cast<unsigned char>(text[at + length]) & 0xC0) == 0x80)
    ++length;
  return length;
}

// The pieces a line may break after: each ends with a space or a separator, or the line.
std::vector<std::string_view> pieces(std::string_view line) {
  std::vector<std::string_view> found;
  std::size_t start = 0;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == ' ' || line[i] == '/' || line[i] == '\\') {
      found.push_back(line.substr(start, i + 1 - start));
      start = i + 1;
    }
  }
  if (start < line.size()) found.push_back(line.substr(start));
  return found;
}

void wrapLine(std::string_view line, int width, const std::function<int(std::string_view)>& measure,
              std::string& out) {
  std::string current;
  const auto fits = [&](std::string_view more) {
    return measure(trimmed(current + std::string(more))) <= width;
  };
  const auto breakLine = [&] {
    out += trimmed(current);
    out += '\n';
    current.clear();
  };
  for (const std::string_view piece : pieces(line)) {
    if (fits(piece)) {
      current += piece;
      continue;
    }
    if (!current.empty()) breakLine();
    for (std::size_t at = 0; at < piece.size();) {
      const std::string_view unit = piece.substr(at, codePointLength(piece, at));
      if (!current.empty() && !fits(unit)) breakLine();
      current += unit;
      at += unit.size();
    }
  }
  out += current;
}

int lineCount(std::string_view text) {
  return 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

std::size_t codePoints(std::string_view text) {
  std::size_t count = 0;
  for (const char c : text)
    count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

// The byte where the code point numbered index starts.
std::size_t byteOf(std::string_view text, std::size_t index) {
  std::size_t at = 0;
  for (; index > 0 && at < text.size(); --index)
    at += codePointLength(text, at);
  return at;
}

}  // namespace

std::string fitToBox(std::string_view text, int width, int maxLines,
                     const std::function<int(std::string_view)>& measure) {
  static constexpr std::string_view kLeftOut = "\u2026";
  // Shorter than this, a word says too little to be worth shortening.
  static constexpr std::size_t kShortest = 24;
  std::string current(text);
  for (;;) {
    std::string wrapped = wrapToWidth(current, width, measure);
    if (lineCount(wrapped) <= maxLines) return wrapped;
    std::size_t start = 0;
    std::size_t length = 0;
    for (std::size_t at = 0; at < current.size();) {
      const std::size_t end = std::min(current.find_first_of(" \r\n", at), current.size());
      if (end - at > length) {
        start = at;
        length = end - at;
      }
      at = end + 1;
    }
    const std::string_view word = std::string_view(current).substr(start, length);
    const std::size_t letters = codePoints(word);
    if (letters <= kShortest) return wrapped;
    const std::size_t keep = std::max(kShortest, letters * 3 / 4) - 1;
    const std::string shortened = std::string(word.substr(0, byteOf(word, keep / 2))) +
                                  std::string(kLeftOut) +
                                  std::string(word.substr(byteOf(word, letters - keep / 2)));
    current.replace(start, length, shortened);
  }
}

std::string wrapToWidth(std::string_view text, int width,
                        const std::function<int(std::string_view)>& measure) {
  std::string out;
  for (;;) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    const bool returned = !line.empty() && line.back() == '\r';
    if (returned) line.remove_suffix(1);
    wrapLine(line, width, measure, out);
    if (end == std::string_view::npos) return out;
    out += returned ? "\r\n" : "\n";
    text.remove_prefix(end + 1);
  }
}

}  // namespace qb

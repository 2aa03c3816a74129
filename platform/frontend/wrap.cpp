#include "platform/frontend/wrap.h"

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

}  // namespace

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

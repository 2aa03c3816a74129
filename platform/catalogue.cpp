#include "platform/catalogue.h"

#include "platform/catalogue_os.h"

namespace qb {

namespace {

std::string chosen = "en";
bool pseudoLanguage = false;

// The languages written from right to left among those a catalogue may be in.
bool writtenRightToLeft(const std::string& language) {
  const std::string primary = language.substr(0, language.find_first_of("_-@."));
  for (const char* rtl : {"ar", "he", "fa", "ur", "yi", "ps"})
    if (primary == rtl) return true;
  return false;
}

}  // namespace

void chooseLanguage() {
  pseudoLanguage = catalogue::asksForPseudo();
  chosen = pseudoLanguage ? "qps-ploc" : catalogue::open();
}

const std::string& language() {
  return chosen;
}

bool rightToLeft() {
  return writtenRightToLeft(chosen);
}

std::string tr(std::string_view english) {
  if (english.empty()) return {};
  return pseudoLanguage ? pseudo(english) : catalogue::translation(english);
}

std::string tr(std::string_view english, std::initializer_list<std::string_view> values) {
  const std::string sentence = tr(english);
  std::string out;
  for (std::size_t i = 0; i < sentence.size(); ++i) {
    const std::size_t n = i + 2 < sentence.size() && sentence[i] == '{' && sentence[i + 2] == '}'
                              ? static_cast<std::size_t>(sentence[i + 1] - '1')
                              : values.size();
    if (n >= values.size()) {
      out += sentence[i];
      continue;
    }
    out += asIs(values.begin()[n]);
    i += 2;
  }
  return out;
}

// A left-to-right mark (U+200E) on each side, which every system's text layout knows.
std::string asIs(std::string_view value) {
  const std::string mark = rightToLeft() ? "\xE2\x80\x8E" : "";
  return mark + std::string(value) + mark;
}

std::string pseudo(std::string_view english) {
  // Each plain letter and its accented twin, in UTF-8.
  static constexpr const char* kAccented[26] = {
      "\xC3\xA5",     "\xC6\x80", "\xC3\xA7",     "\xC3\xB0", "\xC3\xA9", "\xC6\x92", "\xC4\x9D",
      "\xC4\xA5",     "\xC3\xAE", "\xC4\xB5",     "\xC4\xB7", "\xC4\xBC", "\xC9\xB1", "\xC3\xB1",
      "\xC3\xB6",     "\xC3\xBE", "\xC7\xAB",     "\xC5\x95", "\xC5\xA1", "\xC5\xA3", "\xC3\xBB",
      "\xE1\xB9\xBD", "\xC5\xB5", "\xE1\xBA\x8B", "\xC3\xBD", "\xC5\xBE"};
  std::string out = "[";
  std::size_t letters = 0;
  for (std::size_t i = 0; i < english.size(); ++i) {
    const char c = english[i];
    if (c == '{' && i + 2 < english.size() && english[i + 2] == '}') {
      out += english.substr(i, 3);
      i += 2;
    } else if (c >= 'a' && c <= 'z') {
      out += kAccented[c - 'a'];
      ++letters;
    } else if (c >= 'A' && c <= 'Z') {
      out += c;  // capitals keep their shape, so words stay readable
      ++letters;
    } else {
      out += c;
    }
  }
  // About 40% longer, as translations of short English texts often are.
  out += ' ';
  for (std::size_t i = 0; i < (letters * 2 + 4) / 5; ++i)
    out += "\xC2\xB7";
  return out + "]";
}

}  // namespace qb

#include "platform/posix/text.h"

#include <locale.h>
#include <wctype.h>

namespace qb::files::posix {

namespace {

// Letter case is folded with the full Unicode tables of C.UTF-8, whatever locale the user runs.
// Each character is upper-cased on its own, as Windows matches names: no special casing, no
// normalisation, so the final sigma matches sigma and a dotted capital I matches no i.
locale_t foldingLocale() {
  static locale_t locale = [] {
    locale_t made = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    return made ? made : newlocale(LC_CTYPE_MASK, "C", static_cast<locale_t>(nullptr));
  }();
  return locale;
}

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

std::string fold(const std::string& name) {
  std::string out;
  out.reserve(name.size());
  const auto* s = reinterpret_cast<const unsigned char*>(name.data());
  const std::size_t n = name.size();
  for (std::size_t i = 0; i < n;) {
    const unsigned char b = s[i];
    if (b < 0x80) {
      out += static_cast<char>(b >= 'a' && b <= 'z' ? b - ('a' - 'A') : b);
      ++i;
      continue;
    }
    const int length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 0;
    bool valid = length > 0 && i + length <= n;
    char32_t c = length == 4 ? b & 0x07 : length == 3 ? b & 0x0F : b & 0x1F;
    for (int k = 1; valid && k < length; ++k) {
      if ((s[i + k] & 0xC0) != 0x80) valid = false;
      c = (c << 6) | (s[i + k] & 0x3F);
    }
    if (!valid) {
      out += static_cast<char>(b);
      ++i;
      continue;
    }
    appendUtf8(out, static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), foldingLocale())));
    i += length;
  }
  return out;
}

bool isUtf8(const std::string& text) {
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t n = text.size();
  for (std::size_t i = 0; i < n;) {
    const unsigned char b = s[i];
    const std::size_t length = b < 0x80                 ? 1
                               : b >= 0xC2 && b <= 0xDF ? 2
                               : b >= 0xE0 && b <= 0xEF ? 3
                               : b >= 0xF0 && b <= 0xF4 ? 4
                                                        : 0;
    if (length == 0 || i + length > n) return false;
    if (length > 1) {
      const unsigned char low = b == 0xE0 ? 0xA0 : b == 0xF0 ? 0x90 : 0x80;
      const unsigned char high = b == 0xED ? 0x9F : b == 0xF4 ? 0x8F : 0xBF;
      if (s[i + 1] < low || s[i + 1] > high) return false;
      for (std::size_t k = 2; k < length; ++k) {
        if ((s[i + k] & 0xC0) != 0x80) return false;
      }
    }
    i += length;
  }
  return true;
}

}  // namespace qb::files::posix

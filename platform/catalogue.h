#pragma once

// Every text a user reads, in the user's language: one catalogue, keyed by the English text,
// which stays as written and is what every language falls back to. The catalogues are GNU
// gettext's, made from po/: on Linux gettext itself reads them from /usr/share/locale (or from
// "locale" beside the program); on Windows they are built into the program. Folder names and
// whatever is written to disk are never translated.

#include <initializer_list>
#include <string>
#include <string_view>

namespace qb {

// Marks an English text for the catalogue where it is only named, not yet shown (in a window's
// description); tr() translates it when it is shown.
constexpr const char* N_(const char* english) {
  return english;
}

// Chooses the catalogue of the user's language as the system says it (gettext's LANGUAGE,
// LC_ALL, LC_MESSAGES and LANG; Windows' preferred UI languages), or the pseudo-language
// "qps-ploc" where that is asked for. Called when the program starts, before any text is shown.
void chooseLanguage();

// The language whose catalogue serves ("en" when none does), and whether it is written from
// right to left.
const std::string& language();
bool rightToLeft();

// english in the user's language.
std::string tr(std::string_view english);
// A whole sentence with {1}, {2}... in it, translated, then filled in with values (paths and
// names, which are never translated, and keep their own direction where the sentence runs from
// right to left).
std::string tr(std::string_view english, std::initializer_list<std::string_view> values);

// A path or name as it is, to stand in text of the user's language: set apart where that text
// runs from right to left, so that it keeps its own direction.
std::string asIs(std::string_view value);

// The pseudo-language "qps-ploc": every letter accented and each text a good deal longer, to see
// where a text would not fit; placeholders and line breaks are kept.
std::string pseudo(std::string_view english);

}  // namespace qb

#pragma once

// What each system gives the catalogue (platform/catalogue.h): its gettext on Linux, the
// catalogues built into the program on Windows. Nothing outside platform/ includes this.

#include <string>
#include <string_view>

namespace qb::catalogue {

// Opens the catalogue of the user's language as the system says it; returns the language opened
// ("de", "pt_BR"), or "en" when none serves.
std::string open();

// Whether the system's choice of language is the pseudo-language qps-ploc.
bool asksForPseudo();

// The translation of english in the catalogue opened, or english itself.
std::string translation(std::string_view english);

}  // namespace qb::catalogue

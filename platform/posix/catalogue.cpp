// The catalogue through gettext itself, which chooses the language as users set it up.

#include <libintl.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/catalogue_os.h"

namespace qb::catalogue {

namespace {

constexpr char kDomain[] = "quenbrook";
bool opened = false;

// The catalogues: in "locale" beside the program, as a build or a portable copy has them, else
// where the package installs them.
std::string folder() {
  std::string program(4096, '\0');
  const ssize_t length = readlink("/proc/self/exe", program.data(), program.size());
  if (length > 0) {
    program.resize(static_cast<std::size_t>(length));
    const std::string beside = program.substr(0, program.rfind('/')) + "/locale";
    struct stat st;
    if (stat(beside.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return beside;
  }
  return QUENBROOK_LOCALEDIR;
}

// The first of the names gettext goes by that is set.
std::string askedFor() {
  for (const char* variable : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value && *value) return value;
  }
  return {};
}

}  // namespace

bool asksForPseudo() {
  return askedFor().starts_with("qps");
}

std::string open() {
  // The user's locale, as every program takes it; gettext heeds LANGUAGE only where the messages'
  // locale is not the plain C one, which a session without LANG has.
  setlocale(LC_ALL, "");
  const std::string messages = setlocale(LC_MESSAGES, nullptr);
  if (messages == "C" || messages == "POSIX") setlocale(LC_MESSAGES, "C.UTF-8");
  bindtextdomain(kDomain, folder().c_str());
  bind_textdomain_codeset(kDomain, "UTF-8");
  opened = true;
  // The catalogue gettext chose says its language in its header, the translation of "".
  const std::string header = dgettext(kDomain, "");
  const std::size_t at = header.find("Language: ");
  if (at == std::string::npos) return "en";
  return header.substr(at + 10, header.find('\n', at) - at - 10);
}

std::string translation(std::string_view english) {
  const std::string key(english);
  return opened ? dgettext(kDomain, key.c_str()) : key;
}

}  // namespace qb::catalogue

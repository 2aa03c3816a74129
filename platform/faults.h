#pragma once

// Where the program asks whether a call to the system is to fail as it would on another machine
// (a full disk at the third folder, a link read back leading elsewhere, a removal refused). The
// program links faults_none.cpp, which never says so; the tests link a failure plan in its place,
// so the shipped program holds no switch for it.

#include <string>

namespace qb::faults {

// The kinds of call, each at the places the system layers make it.
enum class Call {
  Look,      // whether and what something is at a path
  Open,      // a folder opened to be shown
  List,      // a folder's entries read
  Make,      // a folder made
  Link,      // a shortcut made
  ReadLink,  // where a shortcut leads: answered as another machine might, leading elsewhere
  Identify,  // which folder a path is: answered as some shares do, with no id
  Remove,    // a file removed
};

// Whether this call, about path, is to fail: then the system's own error variable (errno, or
// Windows' last error) holds the error, as after a real failure of that call.
bool failed(Call call, const std::string& path);

}  // namespace qb::faults

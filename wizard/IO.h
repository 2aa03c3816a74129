#pragma once

#include <string>

namespace qb {

// The module IO: what step 1 chose, kept for the whole run.
struct IO {
  std::string ProjectFolder;
};

}  // namespace qb

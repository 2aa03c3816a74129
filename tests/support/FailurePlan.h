#pragma once

// The tests' side of platform/faults.h: the nth call of a kind fails with an error the system
// really gives there, and every call is counted, so that a story can be run with each of its
// calls failing in turn.

#include <functional>
#include <string>
#include <vector>

#include "platform/faults.h"

#ifdef _WIN32
#include <winerror.h>
#else
#include <cerrno>
#endif

namespace qb::test {

// Errors as this system gives them.
#ifdef _WIN32
constexpr unsigned long kDenied = ERROR_ACCESS_DENIED, kDiskFull = ERROR_DISK_FULL;
#else
constexpr unsigned long kDenied = EACCES, kDiskFull = ENOSPC;
#endif

struct Fault {
  faults::Call call;
  int nth;                               // from 1, counted from the last reset
  unsigned long error;                   // errno, or a Windows error
  std::function<void()> meanwhile = {};  // what happens to the disk as it fails
  std::string path = {};  // given: every call of the kind about this path fails, not the nth
};

// The plan for the calls made from here on: the faults given, and the calls counted.
void planFaults(const std::vector<Fault>& faults = {});
int callsMade(faults::Call call);
// The path of the last call made to fail, or empty text.
std::string failedPath();

}  // namespace qb::test

#include "tests/support/FailurePlan.h"

#include <cerrno>
#include <map>
#include <mutex>

#ifdef _WIN32
#include <windows.h>
#endif

namespace qb {

namespace {

std::mutex lock;
std::vector<test::Fault> planned;
std::map<faults::Call, int> made;
std::string failedAt;

}  // namespace

bool faults::failed(Call call, const std::string& path) {
  std::unique_lock<std::mutex> guard(lock);
  const int nth = ++made[call];
  for (const test::Fault& fault : planned) {
    if (fault.call != call || (fault.path.empty() ? fault.nth != nth : fault.path != path))
      continue;
    failedAt = path;
    const test::Fault failing = fault;
    guard.unlock();
    if (failing.meanwhile) failing.meanwhile();
#ifdef _WIN32
    SetLastError(failing.error);
#else
    errno = static_cast<int>(failing.error);
#endif
    return true;
  }
  return false;
}

void test::planFaults(const std::vector<Fault>& faults) {
  const std::lock_guard<std::mutex> guard(lock);
  planned = faults;
  made.clear();
  failedAt.clear();
}

int test::callsMade(faults::Call call) {
  const std::lock_guard<std::mutex> guard(lock);
  return made[call];
}

std::string test::failedPath() {
  const std::lock_guard<std::mutex> guard(lock);
  return failedAt;
}

}  // namespace qb

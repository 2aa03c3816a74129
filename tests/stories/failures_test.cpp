// Every call to the system failing in turn. Each story that makes or removes something runs
// once as it is, then again with each of its calls failing as the system fails there, or
// answering as another machine would; the user stops at the first failure shown. At every
// point the program ends cleanly, success is told only when what the plain run made is there,
// everything that was there stays as it was, nothing is made that the plain run did not make,
// and an error is shown naming the path it happened to. The table of points is printed.

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#endif

#include <iostream>
#include <map>
#include <sstream>

#include "tests/stories/Story.h"
#include "tests/support/FailurePlan.h"

namespace qb::test {
namespace {

using faults::Call;

// The errors the system really gives at each kind of call; 1 for an answer from elsewhere.
// clang-format off
#ifdef _WIN32
const std::vector<std::pair<Call, unsigned long>> kErrors{
    {Call::Look, ERROR_ACCESS_DENIED}, {Call::Open, ERROR_ACCESS_DENIED},
    {Call::List, ERROR_NETNAME_DELETED}, {Call::Make, ERROR_DISK_FULL},
    {Call::Make, ERROR_FILENAME_EXCED_RANGE}, {Call::Make, ERROR_ACCESS_DENIED},
    {Call::Link, ERROR_DISK_FULL}, {Call::Link, ERROR_ACCESS_DENIED},
    {Call::Link, ERROR_FILE_EXISTS}, {Call::ReadLink, 1},
    {Call::Identify, 1}, {Call::Remove, ERROR_ACCESS_DENIED}, {Call::Remove, ERROR_SHARING_VIOLATION}};
#else
const std::vector<std::pair<Call, unsigned long>> kErrors{
    {Call::Look, EIO}, {Call::Open, EACCES}, {Call::List, EIO}, {Call::Make, ENOSPC},
    {Call::Make, ENAMETOOLONG}, {Call::Make, EACCES}, {Call::Make, EROFS}, {Call::Link, ENOSPC},
    {Call::Link, EACCES}, {Call::Link, EEXIST}, {Call::ReadLink, 1}, {Call::Identify, 1},
    {Call::Remove, EACCES}};
#endif
// clang-format on
const char* const kCalls[] = {"look", "open",      "list",     "make",
                              "link", "read link", "identify", "remove"};

// What is under a folder: each entry, and each file's content.
std::map<std::string, std::string> contents(const std::string& root) {
  std::map<std::string, std::string> found;
  for (const std::string& entry : tree(root))
    found[entry] = entry.ends_with('/') ? "" : readFile(root + files::kSeparator + entry);
  return found;
}

class Failures : public Story {
 protected:
  struct Outcome {
    int status;
    std::map<std::string, std::string> disk;
    std::vector<Asked> asked;
    std::map<Call, int> made;  // calls of each kind
  };

  Outcome runWith(const std::vector<Fault>& faults) {
    removeAll(temp().path());
    makeFolders(temp().path());
    prepare();
    planFaults(faults);
    Outcome outcome{playUntilFailure(script), contents(temp().path()), user().asked(), {}};
    for (const auto& [call, error] : kErrors)
      outcome.made[call] = callsMade(call);
    return outcome;
  }

  // Runs the story plainly, then with each call failing in turn; afterwards, when a shortcut
  // read back leads elsewhere, with each removal failing too.
  void failEachCall(const std::string& story) {
    const std::map<std::string, std::string> before =
        (removeAll(temp().path()), makeFolders(temp().path()), prepare(), contents(temp().path()));
    const Outcome plain = runWith({});
    ASSERT_EQ(plain.status, 0);
    std::ostringstream table;
    int points = 0;
    for (const auto& [call, error] : kErrors) {
      std::vector<Fault> first;
      if (call == Call::Remove) first.push_back({Call::ReadLink, 1, 1});
      for (int nth = 1; nth <= std::max(plain.made.at(call), call == Call::Remove ? 1 : 0); ++nth) {
        std::vector<Fault> faults = first;
        faults.push_back({call, nth, error});
        const Outcome run = runWith(faults);
        const std::string at = failedPath();
        planFaults();
        // A folder that cannot be looked at or opened may be passed over, as the picker's start
        // is; one that was made, linked, removed or listed short is never passed over in silence.
        const bool told = call != Call::Look && call != Call::Open;
        const std::string verdict = judge(before, plain, run, at, error > 1, told);
        table << story << "  " << kCalls[static_cast<int>(call)] << " #" << nth << " (" << error
              << ")  " << verdict << "\n";
        EXPECT_EQ(verdict.rfind("FAULT", 0), std::string::npos)
            << kCalls[static_cast<int>(call)] << " #" << nth << " at " << at << ": " << verdict;
#ifdef _WIN32
        // Windows' protection of folders refuses writes alone: its hint comes with those only.
        const bool writing = call == Call::Make || call == Call::Link || call == Call::Remove;
        for (const Asked& asked : run.asked) {
          if (error != ERROR_ACCESS_DENIED || asked.title != "Oops!") continue;
          EXPECT_EQ(asked.prompt.find("controlled folder access") != std::string::npos, writing)
              << kCalls[static_cast<int>(call)] << " #" << nth << ": " << asked.prompt;
        }
#endif
        ++points;
      }
    }
    std::cout << table.str() << story << ": " << points << " points\n";
  }

  // What the run did, as the table tells it; a broken promise starts with FAULT.
  static std::string judge(const std::map<std::string, std::string>& before, const Outcome& plain,
                           const Outcome& run, const std::string& at, bool error, bool told) {
    const auto titled = [&](const char* title) {
      for (const Asked& asked : run.asked)
        if (asked.title == title) return &asked;
      return static_cast<const Asked*>(nullptr);
    };
    const Asked* oops = titled("Oops!");
    if (at.empty()) return "not reached";
    if (run.status != 0)
      return "FAULT: the program ended with status " + std::to_string(run.status);
    for (const auto& [entry, content] : before) {
      const auto now = run.disk.find(entry);
      if (now == run.disk.end() || now->second != content) return "FAULT: changed " + entry;
    }
    for (const auto& [entry, content] : run.disk)
      if (!plain.disk.count(entry)) return "FAULT: made " + entry;
    // What was made is compared by name: a shortcut holds the times of what it leads to.
    const bool same = run.disk.size() == plain.disk.size();
    if (titled("Good news!") && !same) return "FAULT: told of success without it";
    if (!oops) {
      if (!same) return "FAULT: stopped short without a word";
      if (error && told) return "FAULT: the error at " + at + " was not shown";
      return "as without it";
    }
    if (error && oops->prompt.find(at) == std::string::npos) {
      return "FAULT: the message does not name " + at + ": " + oops->prompt;
    }
    return "told: " + oops->prompt.substr(oops->prompt.rfind("\n\n") + 2);
  }

  std::function<void()> prepare;
  std::function<void()> script;
};

// The typical run: the documents folder, a new folder there, its skeleton, and a shortcut on the
// desktop.
TEST_F(Failures, TheTypicalRun) {
  const std::string home = temp() / "home";
  ScopedEnvironment drive("HOMEDRIVE", nullptr), path("HOMEPATH", home.c_str());
  prepare = [&] {
    makeFolders(temp() / "home/My Documents");
    makeFolders(temp() / "home/Desktop");
  };
  script = [&] {
    newProjectInDocuments([&] {
      user().type("frmMain2", "Text1", "Link");
      browse(
          [&] {
            user().click("frmGetFolder", "btnDesktop");
            user().click("frmGetFolder", "btnDone");
          },
          "frmMain2", "btnBrowse");
      user().click("frmMain2", "Command1");
    });
  };
  failEachCall("typical run");
}

// Step 1 over a project folder that holds part of its skeleton already, and a file.
TEST_F(Failures, StepOneOverExistingFolders) {
  prepare = [&] {
    makeFolders(temp() / "Proj/images");
    writeFile(temp() / "Proj/notes.txt");
  };
  script = [&] {
    user().whenOpens("frmMain2", [&] { user().click("frmMain2", "btnSkip"); });
    choose(temp() / "Proj");
  };
  failEachCall("over existing folders");
}

}  // namespace
}  // namespace qb::test

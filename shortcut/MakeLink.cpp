#include "shortcut/MakeLink.h"

#include "platform/catalogue.h"
#include "platform/files.h"
#include "shortcut/ShellLink.h"

namespace qb {

void MkLink(const std::string& folder, const std::string& name, const std::string& target,
            const std::string& arguments) {
  const std::string file = shell::fileName(name);
  std::string link = files::join(folder, file);
  if (!files::isAbsolute(folder)) {
    throw PlatformError(link, tr("The shortcut's folder must be a full path, one that starts from "
                                 "the root."));
  }
  if (name.empty()) throw PlatformError(link, tr("A shortcut needs a name."));
  const std::string problem = shell::nameProblem(name);
  if (!problem.empty()) throw PlatformError(link, problem);
  // A plain file or a dangling link where the project was counts as gone.
  if (files::entryAt(target) != files::Entry::Folder) {
    throw PlatformError(target, tr("The project folder is not there any more, so no shortcut to it "
                                   "was made."));
  }
  // Both as they are on disk, letter case included: a link to the typed spelling of a folder
  // that the program matched ignoring case would lead nowhere on a system that heeds case.
  const std::string project = files::folderPath(target);
  const std::string unreachable = shell::targetProblem(project);
  if (!unreachable.empty()) throw PlatformError(project, unreachable);
  link = files::join(files::folderPath(folder), file);
  // The system would see a name in another letter case as the same name, or the user would.
  const std::string existing = files::lookup(link);
  if (!existing.empty()) {
    throw PlatformError(link, tr("Something called \"{1}\" is there already. It was left as it "
                                 "is, and no shortcut was made.",
                                 {existing}));
  }
  shell::makeLink(link, project, arguments);
  // A shortcut that is there but opens something else, or nothing, is no success.
  if (!files::sameFolder(shell::target(link), project)) {
    const std::string kept = shell::removeLink(link);
    if (kept.empty()) {
      throw PlatformError(link, tr("The shortcut made here did not lead to the project folder "
                                   "{1}, so it was taken away again.",
                                   {project}));
    }
    throw PlatformError(link, tr("The shortcut made here did not lead to the project folder {1}. "
                                 "It is still there, as it could not be taken away: {2} Delete it "
                                 "yourself.",
                                 {project, kept}));
  }
}

}  // namespace qb

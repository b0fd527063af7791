// Paths as the system sees them: either separator accepted, names looked up
// without regard to case when the exact one does not exist, one-letter data
// roots standing for folders under the per-user data folder, the program
// folder and the per-user data folder seeded from it, and a private
// temporary folder for the session.
#pragma once

#include <QString>

namespace zk::paths {

// "\" turned into "/"; blanks around the path and one pair of surrounding
// double quotes removed.
QString normalize(const QString &path);

// The existing file or folder that the path names, matching each component
// without regard to case when the exact name is missing; the normalised path
// itself when nothing matches.
QString resolve(const QString &path);

// True when resolve() finds an existing file.
bool exists(const QString &path);

// Folder of the running program (where the shipped data is installed).
QString programFolder();

// Per-user data folder (created, and seeded once from the program folder's
// shipped data); ends without a separator.
QString userFolder();

// Overrides for tests: null strings restore the defaults.
void setProgramFolder(const QString &folder);
void setUserFolder(const QString &folder);

// A data file by name: the per-user data folder first, then the program folder.
// Returns the path found, or the per-user path when neither has it.
QString dataFile(const QString &name);

// Where a data file that the program writes goes: the per-user data folder.
QString writableDataFile(const QString &name);

// A data root as stored in the settings: one letter stands for the folder
// drives/<LETTER> under the per-user data folder; "C:" and "C:\" too.
// Any other text is a folder path. The result ends with "/".
QString dataRoot(const QString &root);

// The session's private temporary folder, ending with "/", or "" when none
// could be made.
QString tempFolder();

}  // namespace zk::paths

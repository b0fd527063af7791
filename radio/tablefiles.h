// The table files of the two coverage dialogs: antenna patterns ("*.ant") and
// radar tables ("*.rad") in the user's and the program's folders. The network
// file keeps the chosen name in a field of 20 characters, so a longer name is
// listed but can never be chosen: it could not be stored and found again.
#pragma once

#include <QString>
#include <QStringList>

namespace zk {

// Characters of the network file's table name field.
constexpr int kTableNameChars = 20;

// Names of the files matching the pattern, as they are written on disc. A
// file of the program folder whose name the user's folder already holds (in
// any case) is left out: the user's file is the one opened.
QStringList tablefiles(const QString &pattern);

// Whether the name fits the network file's field.
bool tablenamefits(const QString &name);

// The message shown when a name that does not fit is chosen.
QString tablenametoolong(const QString &name);

// Writes the name into `covset.antfile`, padded with blanks; a name that
// does not fit changes nothing and answers false.
bool storetablename(const QString &name);

// The name kept in `covset.antfile`, without its blanks.
QString storedtablename();

}  // namespace zk

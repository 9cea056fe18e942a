#pragma once

// Where a program finds the files shipped with it (the start-up test setup, the release
// notes, the manual): beside the program file first, as in a build folder or an unpacked
// copy, then in the installed data folder. The data folder is found from the program's own
// folder (for an installation under /usr: /usr/bin -> /usr/share/aelumeny), so an
// installation moved to another prefix keeps working.

#include <QString>
#include <QStringList>

namespace lmhelp {

// The folders searched, in order: the program's folder, then the installed data folder.
QStringList ShippedFolders(const QString& programFolder);

// The first existing `name` (a file or folder, relative) in those folders; when there is
// none, the path beside the program, so that a message names where it was looked for first.
QString FindShippedFile(const QString& programFolder, const QString& name);

} // namespace lmhelp

#pragma once
// The one folder where the program keeps its settings, ticket files and draw
// files: the folder it was started in when that can be written, is not the
// home folder itself (as it is when started from the desktop's menu) and is no
// folder that others may write into; otherwise "Жребикон" under the user's
// documents.

#include <QString>

namespace WorkFolder
{

QString Choose();

// Whether everybody may write into the folder, like /tmp: anybody could put a
// link there in the place of the program's own files, so such a folder is only
// ever read from, never made the work folder.
bool OthersMayWrite(const QString &folder);

} // namespace WorkFolder

#pragma once
// The one folder where the program keeps its settings, ticket files and draw
// files: the folder it was started in when that can be written and is not the
// home folder itself (as it is when started from the desktop's menu);
// otherwise "Жребикон" under the user's documents.

#include <QString>

namespace WorkFolder
{

QString Choose();

} // namespace WorkFolder

#pragma once
// Opening documents and web addresses with the programs the user has chosen
// for them. Nothing here shows a message: the window says what failed.

#include <QString>

#include <functional>

class QUrl;

// Opens a document: an address with a scheme ("https://…", "mailto:…"), or a
// file given by an absolute path or by a path relative to the program's
// folder. A file that does not exist is not handed on. True when the opener
// accepted the document.
bool OpenUrl(const QString &document);

// Opens a web address through a redirect page written to folder (see
// SaveFileUrlm.h). False when no page could be written, so nothing was opened;
// opened, when given, tells whether a browser took the page.
bool SaveFileUrl(const QString &folder, const QString &address, bool *opened = nullptr);
// The same with the page in the program's private folder (RedirectFolder).
bool SaveFileUrl(const QString &address, bool *opened = nullptr);

// Where the help page "Справка.html" is: beside the program, else in
// ../share/zhrebikon from it (an installed program), else in the source tree's
// resources (a program run from its build folder). The path beside the program
// when it is in none of them, so that opening it fails quietly.
QString HelpPagePath();
// The same search from a given program folder and resources folder.
QString HelpPagePathIn(const QString &programFolder, const QString &resourcesFolder);

// Replaces what OpenUrl hands documents to, so that tests open nothing for
// real; an empty function puts the desktop's opener back.
void SetUrlOpenerForTests(std::function<bool(const QUrl &)> opener);

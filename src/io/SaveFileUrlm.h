#pragma once
// Web addresses are opened through a tiny page that sends the browser on at
// once: writing a file and opening it works with whatever viewer the user has
// for pages, even where nothing is registered for the address's scheme.

#include <QByteArray>
#include <QString>

// The redirect page for an address: one line in Windows-1251, ended by CR LF.
// The address goes in as it is; a character the code page lacks is written as
// the percent escapes of its UTF-8 bytes, which browsers read as the same address.
QByteArray RedirectPage(const QString &address);

// Writes the redirect page to the first of folder/0.html, 1.html, … that can be
// written, trying at most maxTries names. Returns the absolute path of the page
// written, or an empty string when none could be; nothing is reported. A page
// is never written through a symbolic link.
QString WriteRedirectPage(const QString &folder, const QString &address, int maxTries = 100);

// The program's private folder for redirect pages: made fresh on first use,
// readable by the user alone, and removed with everything in it when the
// program ends, so no page is left behind in the work folder or elsewhere.
// Empty when no such folder could be made.
QString RedirectFolder();

#pragma once
// The program's files are Windows-1251 text. Text goes through Qt's codec,
// which knows the code page and says when a character has no place in it.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace Cp1251
{

// True when every character of the text has a byte in the code page.
bool CanEncode(const QString &text);

// The text's bytes; ok (when given) turns false if some character had no byte.
QByteArray Encode(const QString &text, bool *ok = nullptr);

QString Decode(QByteArrayView bytes);

} // namespace Cp1251

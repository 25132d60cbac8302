// Joining page scripts: a whole track is thousands of one-line calls, and one engine call per
// line costs far more than the calls themselves. Consecutive plain calls are joined into one
// engine call, each inside its own try block so a throwing call does not stop the ones after it.
// Any other script travels alone, exactly as given, so its meaning never changes.
#pragma once

#include <QString>
#include <QStringList>

// True for `name(number, number, ...)` with an optional trailing semicolon and surrounding blanks:
// a text that cannot fail to parse and can safely sit inside a block.
bool IsPlainCall(const QString& script);

// Engine calls for `scripts`, in order. Consecutive plain calls share one engine call of at most
// about `maxChars` characters; every other script is one engine call of its own.
QStringList JoinScripts(const QStringList& scripts, qsizetype maxChars = 512 * 1024);

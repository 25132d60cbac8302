#include "script_batch.h"

#include <utility>

namespace {

bool IsIdentStart(QChar c) {
    return c.isLetter() || c == u'_' || c == u'$';
}
bool IsIdentPart(QChar c) {
    return IsIdentStart(c) || c.isDigit();
}
bool IsAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

qsizetype SkipBlanks(const QString& s, qsizetype i) {
    while (i < s.size() && (s[i] == u' ' || s[i] == u'\t'))
        ++i;
    return i;
}

qsizetype SkipDigits(const QString& s, qsizetype i) {
    while (i < s.size() && IsAsciiDigit(s[i]))
        ++i;
    return i;
}

// A decimal literal with an optional minus sign; returns the index after it, or -1.
qsizetype ScanNumber(const QString& s, qsizetype i) {
    if (i < s.size() && s[i] == u'-') ++i;
    const qsizetype intStart = i;
    i = SkipDigits(s, i);
    bool digits = i > intStart;
    if (i < s.size() && s[i] == u'.') {
        const qsizetype fracStart = ++i;
        i = SkipDigits(s, i);
        digits = digits || i > fracStart;
    }
    if (!digits) return -1;
    if (i < s.size() && (s[i] == u'e' || s[i] == u'E')) {
        ++i;
        if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) ++i;
        const qsizetype expStart = i;
        i = SkipDigits(s, i);
        if (i == expStart) return -1;
    }
    return i;
}

// Index after `(args)`, or -1; `i` points at the opening parenthesis.
qsizetype ScanArguments(const QString& s, qsizetype i) {
    i = SkipBlanks(s, i + 1);
    if (i < s.size() && s[i] == u')') return i + 1;
    for (;;) {
        i = ScanNumber(s, i);
        if (i < 0) return -1;
        i = SkipBlanks(s, i);
        if (i >= s.size()) return -1;
        if (s[i] == u')') return i + 1;
        if (s[i] != u',') return -1;
        i = SkipBlanks(s, i + 1);
    }
}

} // namespace

bool IsPlainCall(const QString& script) {
    qsizetype i = SkipBlanks(script, 0);
    if (i >= script.size() || !IsIdentStart(script[i])) return false;
    while (i < script.size() && IsIdentPart(script[i]))
        ++i;
    i = SkipBlanks(script, i);
    if (i >= script.size() || script[i] != u'(') return false;
    i = ScanArguments(script, i);
    if (i < 0) return false;
    i = SkipBlanks(script, i);
    if (i < script.size() && script[i] == u';') i = SkipBlanks(script, i + 1);
    return i == script.size();
}

QStringList JoinScripts(const QStringList& scripts, qsizetype maxChars) {
    QStringList calls;
    QString batch;
    auto closeBatch = [&] {
        if (!batch.isEmpty()) calls.append(std::exchange(batch, QString()));
    };
    for (const QString& script : scripts) {
        if (!IsPlainCall(script)) {
            closeBatch();
            calls.append(script);
            continue;
        }
        if (!batch.isEmpty() && batch.size() + script.size() + 20 > maxChars) closeBatch();
        batch += QStringLiteral("try{") + script + QStringLiteral("}catch(e){}\n");
    }
    closeBatch();
    return calls;
}

#include "evidence_texts.h"

#include "lang_text.h"

QString EvidenceText(unsigned id, const QString& argument) {
    QString text = LangText(id);
    const qsizetype at = text.indexOf(QStringLiteral("%s"));
    if (at >= 0) text.replace(at, 2, argument);
    return text;
}

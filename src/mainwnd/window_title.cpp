#include "window_title.h"

QString MainWindowTitle(const QString& fileName) {
    const QString product = QString::fromLatin1(kProductName);
    if (fileName.isEmpty()) return product;
    return fileName + QStringLiteral(" - ") + product;
}

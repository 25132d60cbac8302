#include "error_page.h"

#include <QStringList>
#include <QUrl>

QByteArray ErrorPageHtml(const QString& failedUrl, const QString& errorText, int errorCode) {
    const QString page = QStringLiteral("<html><body bgcolor=\"white\"><h2>Failed to load URL ") + failedUrl +
                         QStringLiteral(" with error ") + errorText + QStringLiteral(" (") +
                         QString::number(errorCode) + QStringLiteral(").</h2></body></html>");
    return page.toUtf8();
}

QString ErrorPageDataUrl(const QString& failedUrl, const QString& errorText, int errorCode) {
    const QByteArray base64 = ErrorPageHtml(failedUrl, errorText, errorCode).toBase64();
    // Percent-encoding keeps '+', '/' and '=' of the Base64 text from being read as URL syntax.
    return QStringLiteral("data:text/html;base64,") + QString::fromLatin1(QUrl::toPercentEncoding(base64));
}

bool HasChromeRuntimeSwitch(const QStringList& arguments) {
    static const QString name = QStringLiteral("enable-chrome-runtime");
    for (const QString& arg : arguments) {
        QString rest = arg;
        if (rest.startsWith(QStringLiteral("--")))
            rest.remove(0, 2);
        else if (rest.startsWith(u'-'))
            rest.remove(0, 1);
        else
            continue;
        if (rest == name || rest.startsWith(name + u'=')) return true;
    }
    return false;
}

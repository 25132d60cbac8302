#include "res_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#ifndef VELTRIX_BUILD_RES_DIR
#define VELTRIX_BUILD_RES_DIR ""
#endif

namespace {

bool HoldsMapPages(const QString& folder) {
    return !folder.isEmpty() && QFileInfo::exists(folder + QStringLiteral("/OpenLayer.html"));
}

} // namespace

QString FindResFolder() {
    const QString fromEnv = qEnvironmentVariable("VELTRIX_RES_DIR");
    if (!fromEnv.isEmpty()) return QDir(fromEnv).absolutePath();
    const QString exeDir = QCoreApplication::applicationDirPath();
    for (const QString& candidate :
         {exeDir + QStringLiteral("/res"), exeDir + QStringLiteral("/../share/veltrix/res")}) {
        if (HoldsMapPages(candidate)) return QDir(candidate).absolutePath();
    }
    return QString::fromUtf8(VELTRIX_BUILD_RES_DIR);
}

QUrl MapResUrl(const QUrl& url, const QString& resFolder) {
    static const QString prefix = QStringLiteral("/res/");
    if (!url.isLocalFile() || !url.host().isEmpty() || resFolder.isEmpty()) return {};
    const QString path = QDir::cleanPath(url.path());
    if (!path.startsWith(prefix) || path.size() == prefix.size()) return {};
    const QString root = QDir::cleanPath(resFolder);
    QUrl mapped = QUrl::fromLocalFile(root + path.mid(prefix.size() - 1));
    mapped.setQuery(url.query());
    mapped.setFragment(url.fragment());
    return mapped;
}

#include "res_folder.h"

#include "trace.h"

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

QString ChooseResFolder(const QString& fromEnv, const QString& exeDir, const QString& buildRes) {
    if (!fromEnv.isEmpty()) return QDir(fromEnv).absolutePath();
    // An installed program's own pages come first, so that a res/ folder lying about never
    // shadows them; the build tree keeps its pages beside the executable.
    for (const QString& candidate :
         {exeDir + QStringLiteral("/../share/veltrix/res"), exeDir + QStringLiteral("/res")}) {
        if (HoldsMapPages(candidate)) return QDir::cleanPath(QDir(candidate).absolutePath());
    }
    return buildRes;
}

QString FindResFolder() {
    const QString folder =
        ChooseResFolder(qEnvironmentVariable("VELTRIX_RES_DIR"), QCoreApplication::applicationDirPath(),
                        QString::fromUtf8(VELTRIX_BUILD_RES_DIR));
    Trace("==>> map pages in %s\n", qUtf8Printable(folder));
    return folder;
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

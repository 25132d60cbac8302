#include "map_cache.h"

#include <QDir>
#include <QWebEngineProfile>

#include "web_engine_setup.h"
#include "settings.h"
#include "trace.h"

QString ChooseMapCacheFolder(const QString& xdgCacheHome, const QString& home) {
    // The base-directory rules ignore a relative XDG_CACHE_HOME.
    if (!xdgCacheHome.isEmpty() && QDir::isAbsolutePath(xdgCacheHome))
        return QDir::cleanPath(xdgCacheHome + QStringLiteral("/veltrix"));
    if (!home.isEmpty() && QDir::isAbsolutePath(home))
        return QDir::cleanPath(home + QStringLiteral("/.cache/veltrix"));
    return {};
}

QString MapCacheFolder() {
    return ChooseMapCacheFolder(qEnvironmentVariable("XDG_CACHE_HOME"), QDir::homePath());
}

int ClampMapCacheMegabytes(int megabytes) {
    if (megabytes < 0) return kDefaultMapCacheMegabytes;
    return megabytes > kLargestMapCacheMegabytes ? kLargestMapCacheMegabytes : megabytes;
}

int MapCacheMegabytes() {
    return ClampMapCacheMegabytes(GetAppSettings().ReadInt("UI", "MAP_CACHE_MB", kDefaultMapCacheMegabytes));
}

namespace {

// The storage of an earlier run (visited links, page storage, cookies of a session) is not kept:
// only the HTTP cache beside it is.
void EmptyFolder(const QString& folder) {
    QDir dir(folder);
    if (!dir.exists()) return;
    for (const QFileInfo& entry : dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        const bool removed = entry.isDir() && !entry.isSymLink() ? QDir(entry.filePath()).removeRecursively()
                                                                   : QFile::remove(entry.filePath());
        if (!removed) Trace("==>> map profile: could not remove %s\n", qUtf8Printable(entry.filePath()));
    }
}

// The folder, made private to the user when it is new (the tiles show where they drove).
bool MakePrivateFolder(const QString& folder) {
    if (QDir(folder).exists()) return true;
    if (!QDir().mkpath(folder)) return false;
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return true;
}

} // namespace

QWebEngineProfile* CreateMapProfile(const QString& cacheFolder, int megabytes, QObject* parent) {
    if (cacheFolder.isEmpty() || megabytes <= 0 || !MakePrivateFolder(cacheFolder)) {
        // Off the record: the engine writes nothing at all.
        auto* profile = new QWebEngineProfile(parent);
        profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
        return profile;
    }
    const QString storage = cacheFolder + QStringLiteral("/profile");
    EmptyFolder(storage);
    auto* profile = new QWebEngineProfile(QStringLiteral("veltrix-map"), parent);
    profile->setPersistentStoragePath(storage);
    profile->setCachePath(cacheFolder + QStringLiteral("/http"));
    profile->setHttpCacheType(QWebEngineProfile::DiskHttpCache);
    profile->setHttpCacheMaximumSize(megabytes * 1024 * 1024);
    profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    Trace("==>> map cache in %s, %d MB\n", qUtf8Printable(profile->cachePath()), megabytes);
    return profile;
}

bool ClearMapCache(QWebEngineProfile* profile) {
    if (!profile || profile->isOffTheRecord() || profile->httpCacheType() != QWebEngineProfile::DiskHttpCache)
        return false;
    profile->clearHttpCache();
    // No history of visited pages is kept either.
    profile->clearAllVisitedLinks();
    return true;
}

bool ClearRunningMapCache() {
    CWebEngineSetup* app = CWebEngineSetup::Instance();
    return app && ClearMapCache(app->Profile());
}

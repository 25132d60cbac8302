// The map's tile cache: where it lies, how large it may grow, that a tile seen once loads again
// with the tile server gone, and that clearing the cache forgets it.
#include "map_cache.h"
#include "map_test_support.h"

#include <QBuffer>
#include <QDirIterator>
#include <QImage>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QWebEngineProfile>

#include <memory>

namespace {

TEST(MapCacheFolder, XdgCacheHomeThenHomeAndNeverARelativePath) {
    EXPECT_EQ(ChooseMapCacheFolder("/var/cache/u", "/home/u"), "/var/cache/u/veltrix");
    EXPECT_EQ(ChooseMapCacheFolder("", "/home/u"), "/home/u/.cache/veltrix");
    EXPECT_EQ(ChooseMapCacheFolder("cache", "/home/u"), "/home/u/.cache/veltrix") << "relative: ignored";
    EXPECT_EQ(ChooseMapCacheFolder("/c/", "/home/u"), "/c/veltrix");
    EXPECT_EQ(ChooseMapCacheFolder("", ""), "");
    EXPECT_EQ(ChooseMapCacheFolder("cache", "home"), "");
}

TEST(MapCacheSize, DefaultWhenMissingOrNegativeAndBounded) {
    EXPECT_EQ(ClampMapCacheMegabytes(-1), kDefaultMapCacheMegabytes);
    EXPECT_EQ(ClampMapCacheMegabytes(0), 0);
    EXPECT_EQ(ClampMapCacheMegabytes(50), 50);
    EXPECT_EQ(ClampMapCacheMegabytes(999999), kLargestMapCacheMegabytes);
    EXPECT_EQ(kDefaultMapCacheMegabytes, 300);
}

// A tile server on the loopback: every GET gets the same small PNG, cacheable for a day.
class TileServer {
  public:
    TileServer() {
        QImage tile(16, 16, QImage::Format_RGB32);
        tile.fill(Qt::darkGreen);
        QBuffer buffer(&m_png);
        buffer.open(QIODevice::WriteOnly);
        tile.save(&buffer, "PNG");
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] { Answer(); });
        m_server.listen(QHostAddress::LocalHost);
    }
    QString Url(const char* path) const {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(QLatin1String(path));
    }
    int Requests() const { return m_nRequests; }
    void Stop() { m_server.close(); }

  private:
    void Answer() {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                if (!socket->readAll().contains("\r\n\r\n")) return;
                ++m_nRequests;
                socket->write("HTTP/1.1 200 OK\r\nContent-Type: image/png\r\nCache-Control: public, max-age=86400\r\n"
                              "Content-Length: " + QByteArray::number(m_png.size()) + "\r\nConnection: close\r\n\r\n");
                socket->write(m_png);
                socket->disconnectFromHost();
            });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    }

    QTcpServer m_server;
    QByteArray m_png;
    int m_nRequests = 0;
};

qint64 BytesUnder(const QString& folder) {
    qint64 total = 0;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        total += it.fileInfo().size();
    }
    return total;
}

// Width of the tile as a page of `profile` shows it; 0 when it could not be loaded.
int TileWidthIn(QWebEngineProfile* profile, const QString& tileUrl) {
    QWebEnginePage page(profile);
    bool loaded = false;
    QObject::connect(&page, &QWebEnginePage::loadFinished, [&](bool) { loaded = true; });
    page.setHtml(QStringLiteral("<html><body><img id='t' src='%1'></body></html>").arg(tileUrl),
                 QUrl(QStringLiteral("http://127.0.0.1/")));
    if (!QTest::qWaitFor([&] { return loaded; }, kEngineWaitMs)) return -1;
    QVariant width;
    bool done = false;
    page.runJavaScript(QStringLiteral("document.getElementById('t').naturalWidth"), [&](const QVariant& v) {
        width = v;
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, kEngineWaitMs)) return -1;
    return width.toInt();
}

// The engine writes the profile's last state after the profile object is gone.
void RemoveWhenTheEngineIsDone(QTemporaryDir& home) {
    EXPECT_TRUE(QTest::qWaitFor([&] { return home.remove(); }, kEngineWaitMs)) << "folder left behind";
}

// Each run starts on its own profile object, so nothing comes from the engine's memory cache.
std::unique_ptr<QWebEngineProfile> Profile(const QString& folder) {
    return std::unique_ptr<QWebEngineProfile>(CreateMapProfile(folder, kDefaultMapCacheMegabytes, nullptr));
}

TEST(MapCache, ProfileKeepsItsCacheInTheFolderAndNothingElseOfAnEarlierRun) {
    REQUIRE_DISPLAY();
    QTemporaryDir home;
    const QString folder = home.filePath("veltrix");
    // What an earlier run left in the profile's storage.
    QDir().mkpath(folder + "/profile/Local Storage");
    const QStringList stale = {folder + "/profile/Local Storage/leveldb.log", folder + "/profile/.session"};
    for (const QString& path : stale) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("earlier run");
    }

    auto profile = Profile(folder);
    EXPECT_FALSE(profile->isOffTheRecord());
    EXPECT_EQ(profile->cachePath(), folder + "/http");
    EXPECT_EQ(profile->persistentStoragePath(), folder + "/profile");
    EXPECT_EQ(profile->httpCacheType(), QWebEngineProfile::DiskHttpCache);
    EXPECT_EQ(profile->httpCacheMaximumSize(), 300 * 1024 * 1024);
    EXPECT_EQ(profile->persistentCookiesPolicy(), QWebEngineProfile::NoPersistentCookies);
    for (const QString& path : stale)
        EXPECT_FALSE(QFileInfo::exists(path)) << path.toStdString() << ": the storage of the earlier run is kept";

    // No folder, or a size of 0: a profile that writes nothing, and nothing to clear.
    for (auto* none : {CreateMapProfile(QString(), 300, nullptr), CreateMapProfile(folder, 0, nullptr)}) {
        EXPECT_TRUE(none->isOffTheRecord());
        EXPECT_FALSE(ClearMapCache(none));
        delete none;
    }
    EXPECT_FALSE(ClearMapCache(nullptr));
    profile.reset();
    RemoveWhenTheEngineIsDone(home);
}

TEST(MapCache, ATileSeenOnceShowsWithoutNetworkUntilTheCacheIsCleared) {
    REQUIRE_DISPLAY();
    QTemporaryDir home;
    const QString folder = home.filePath("veltrix");
    TileServer server;
    const QString tile = server.Url("/tiles/1/2/3.png");

    {
        auto online = Profile(folder);
        ASSERT_EQ(TileWidthIn(online.get(), tile), 16);
    }
    EXPECT_EQ(server.Requests(), 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return BytesUnder(folder + "/http") > 0; }, kEngineWaitMs))
        << "the engine wrote its cache into the folder";

    server.Stop();
    auto offline = Profile(folder);
    EXPECT_EQ(TileWidthIn(offline.get(), tile), 16) << "the tile came from the disk cache";
    EXPECT_EQ(server.Requests(), 1);

    const qint64 before = BytesUnder(folder + "/http");
    ASSERT_TRUE(ClearMapCache(offline.get()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return BytesUnder(folder + "/http") < before; }, kEngineWaitMs))
        << "clearing shrinks the cache folder";
    offline.reset();
    auto cleared = Profile(folder);
    EXPECT_EQ(TileWidthIn(cleared.get(), tile), 0) << "after clearing, the tile needs the network";
    cleared.reset();
    RemoveWhenTheEngineIsDone(home);
}

} // namespace

// The map's web engine profile and the disk cache it keeps the map tiles in, so the tiles of a
// route seen once show again without network. Only the HTTP cache lasts from one run to the
// next: cookies are never written, and the profile's other storage (visited links, page storage)
// is emptied whenever the profile is made.
//
// Threading: everything here runs on the UI thread (the web engine's own rule); the engine
// writes and clears the cache on its own threads.
#pragma once

#include <QString>

class QObject;
class QWebEngineProfile;

constexpr int kDefaultMapCacheMegabytes = 300;
constexpr int kLargestMapCacheMegabytes = 2047; // the engine takes the size in bytes as an int

// The folder of the cache: $XDG_CACHE_HOME/veltrix when XDG_CACHE_HOME is an absolute path,
// else $HOME/.cache/veltrix; empty when neither gives one. `xdgCacheHome` and `home` may be
// empty (unset).
QString ChooseMapCacheFolder(const QString& xdgCacheHome, const QString& home);
// The rule applied to this process's environment.
QString MapCacheFolder();

// Megabytes from "UI"/"MAP_CACHE_MB": 0 keeps no tiles on disk, a negative or missing value gives
// the default, and a larger one than kLargestMapCacheMegabytes is lowered to it.
int ClampMapCacheMegabytes(int megabytes);
int MapCacheMegabytes();

// The profile every map page uses, made with the settings above under `cacheFolder` (the HTTP
// cache in "http", the rest in "profile"). An empty folder or a size of 0 gives a profile that
// keeps nothing on disk.
QWebEngineProfile* CreateMapProfile(const QString& cacheFolder, int megabytes, QObject* parent);

// Asks the engine to empty `profile`'s disk cache; the engine clears it in the background. False
// when the profile keeps no cache on disk (nothing to clear).
bool ClearMapCache(QWebEngineProfile* profile);
// The same for the profile of the running map; false when the map has not started its engine.
bool ClearRunningMapCache();

// Where the map pages lie on disk, and how the pages' fixed URLs "file:///res/..." reach them.
#pragma once

#include <QString>
#include <QUrl>

// The res/ folder: `fromEnv` when not empty; else <exeDir>/../share/veltrix/res (an installed
// tree) when it holds the map pages; else <exeDir>/res (the build tree) when it does; else
// `buildRes`. Never the source tree.
QString ChooseResFolder(const QString& fromEnv, const QString& exeDir, const QString& buildRes);

// ChooseResFolder for this process: $VELTRIX_RES_DIR, the executable's folder and the build
// tree's res/ folder. Traces the folder it found.
QString FindResFolder();

// file:///res/<path> as a file URL inside `resFolder`; an empty URL for any other URL and for a
// path that would leave the folder.
QUrl MapResUrl(const QUrl& url, const QString& resFolder);

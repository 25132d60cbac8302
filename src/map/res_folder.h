// Where the map pages lie on disk, and how the pages' fixed URLs "file:///res/..." reach them.
#pragma once

#include <QString>
#include <QUrl>

// The res/ folder: $VELTRIX_RES_DIR when set; else "res" beside the executable; else
// ../share/veltrix/res beside it (an installed tree); else the build tree's res/ folder.
QString FindResFolder();

// file:///res/<path> as a file URL inside `resFolder`; an empty URL for any other URL and for a
// path that would leave the folder.
QUrl MapResUrl(const QUrl& url, const QString& resFolder);

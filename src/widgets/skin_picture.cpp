#include "skin_picture.h"

#include <QFile>
#include <QImageReader>

// The skin's resource objects are linked into every program with the widgets (res/skins) and
// register themselves at start-up; registering again here (a no-op then) also covers a load
// made during static initialisation.
static void RegisterSkinResources() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(veltrix_skins);
        return true;
    }();
    (void)registered;
}

QString CSkinPicture::ResourcePath(int resourceNumber) {
    return QStringLiteral(":/png/%1.png").arg(resourceNumber);
}

QString CSkinPicture::ResourcePath(const QString& name) {
    return QStringLiteral(":/png/%1.png").arg(name);
}

bool CSkinPicture::Load(int resourceNumber) {
    return Load(QString::number(resourceNumber));
}

bool CSkinPicture::Load(const QString& name) {
    Release();
    RegisterSkinResources();
    QFile file(ResourcePath(name));
    if (name.isEmpty() || !file.exists() || file.size() == 0) return false;
    QImageReader reader(&file, "png");
    QImage image = reader.read();
    if (image.isNull()) return false;
    m_pBitmap = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return true;
}

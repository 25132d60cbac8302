// Draws the skin: every PNG picture of the program from the one style of skin_style.h.
// The pictures are drawn with QPainter by this program at build time rather than kept as SVG
// files: the style (plate, gloss, glyph tones, accent) is code shared by all pictures, so they
// cannot drift apart, and no SVG renderer is needed.
//
//   skin_painter <output folder> <name>...   writes <name>.png for exactly the named pictures
//   skin_painter --sheet <file.png>          writes a contact sheet of all pictures
//   skin_painter --app-icon <folder> <px>... writes 131-<px>.png: the application icon drawn at
//                                            each size (window icon, desktop hicolor theme)
#include "skin_catalog.h"
#include "skin_style.h"

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSet>
#include <cstdio>
#include <cstdlib>
#include <map>

namespace {

QImage Render(const skin::Picture& picture, const QSize& size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    picture.draw(p, size);
    p.end();
    return image;
}

QImage Render(const skin::Picture& picture) {
    return Render(picture, picture.size);
}

bool MakeFolder(const QString& folder) {
    if (QDir().mkpath(folder)) return true;
    std::fprintf(stderr, "skin_painter: cannot create %s\n", qPrintable(folder));
    return false;
}

int WritePictures(const QString& folder, const QStringList& names) {
    if (!MakeFolder(folder)) return 1;
    // The build lists the pictures it packs; both lists must agree, or a picture would be drawn
    // but never packed (or packed but never drawn).
    QSet<QString> wanted(names.begin(), names.end());
    for (const skin::Picture& picture : skin::Catalog()) {
        if (!wanted.remove(picture.name)) {
            std::fprintf(stderr, "skin_painter: %s is drawn but not listed by the build\n",
                         qPrintable(picture.name));
            return 1;
        }
        const QString file = QDir(folder).filePath(picture.name + ".png");
        if (!Render(picture).save(file, "PNG")) {
            std::fprintf(stderr, "skin_painter: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    for (const QString& name : wanted) {
        std::fprintf(stderr, "skin_painter: no drawing for %s\n", qPrintable(name));
        return 1;
    }
    return 0;
}

// The icon is drawn at each size rather than scaled from one picture, so small sizes stay sharp
// (the lens drops its ridges below a readable size).
int WriteAppIcons(const QString& folder, const QStringList& sizes) {
    if (!MakeFolder(folder)) return 1;
    const skin::Picture* icon = nullptr;
    for (const skin::Picture& picture : skin::Catalog())
        if (picture.name == QStringLiteral("131")) icon = &picture;
    if (!icon) {
        std::fprintf(stderr, "skin_painter: no drawing for 131\n");
        return 1;
    }
    for (const QString& text : sizes) {
        bool ok = false;
        const int px = text.toInt(&ok);
        if (!ok || px < 8 || px > 1024) {
            std::fprintf(stderr, "skin_painter: icon size %s is not 8 to 1024 pixels\n", qPrintable(text));
            return 1;
        }
        const QString file = QDir(folder).filePath(QStringLiteral("131-%1.png").arg(px));
        if (!Render(*icon, QSize(px, px)).save(file, "PNG")) {
            std::fprintf(stderr, "skin_painter: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}

// --- contact sheet -----------------------------------------------------------------------------

constexpr int kZoom = 2;
constexpr int kSheetWidth = 1280;

void Caption(QPainter& p, const QRect& box, const QString& text, int pixelSize = 11) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(pixelSize);
    p.setFont(font);
    p.setPen(QColor(150, 156, 166));
    p.drawText(box, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, text);
}

void Heading(QPainter& p, int y, const QString& text) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(15);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(200, 206, 216));
    p.drawText(QPoint(16, y), text);
}

// Every picture at twice its size, pixel for pixel, with its number and meaning.
int DrawGrid(QPainter& p, const std::map<QString, QImage>& images, int top) {
    Heading(p, top + 18, QStringLiteral("Every picture at 2x (pixels enlarged), by resource number"));
    int x = 16, y = top + 34, rowHeight = 0;
    for (const skin::Picture& picture : skin::Catalog()) {
        const QImage& image = images.at(picture.name);
        const QSize shown = picture.size.width() > 128 ? picture.size : picture.size * kZoom;
        const int cellWidth = std::max(shown.width(), 84) + 16;
        if (x + cellWidth > kSheetWidth - 16) {
            x = 16;
            y += rowHeight;
            rowHeight = 0;
        }
        p.drawImage(QRect(QPoint(x + (cellWidth - 16 - shown.width()) / 2, y), shown), image);
        Caption(p, QRect(x, y + shown.height() + 4, cellWidth - 16, 30),
                picture.name + QStringLiteral("  ") + picture.caption);
        x += cellWidth;
        rowHeight = std::max(rowHeight, shown.height() + 40);
    }
    return y + rowHeight;
}

// The pictures where the window shows them, at their real size (top band and transport row of a
// 1250-pixel-wide window), then the same strip enlarged.
QImage InPlace(const std::map<QString, QImage>& images) {
    const int w = 1250, h = 112;
    QImage strip(w, h, QImage::Format_ARGB32_Premultiplied);
    strip.fill(skin::Backdrop());
    QPainter p(&strip);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    auto put = [&](const char* name, int x, int y, int cw = 0, int ch = 0) {
        const QImage& image = images.at(QString::fromLatin1(name));
        const QSize size = cw ? QSize(cw, ch) : image.size();
        p.drawImage(QRect(QPoint(x, y), size), image);
    };
    put("185", 8, 4, 40, 40);
    put("150", 58, 8);
    put("256", 113, 8);
    put("265", (w - 148) / 2, 5, 148, 48);
    put("221", w - 159, 11);
    put("219", w - 179, 11);
    put("1047", w - 199, 11);
    put("182", w - 113, 2);
    put("181", w - 86, 2);
    put("180", w - 59, 2);
    put("179", w - 32, 2);
    put("197", w - 300, 10, 32, 32);
    put("178", w - 250, 10);
    const int b = 58;
    put("258", 225, b + 18);
    put("133", 265, b + 18);
    put("257", 305, b + 18);
    put("184", 370, b + 22);
    p.fillRect(QRect(384, b + 33, 170, 3), QColor(60, 64, 72));
    put("146", 579, b + 18);
    put("144", 619, b + 18);
    put("262", 760, b + 18);
    const char* five[] = {"158", "163", "167", "172", "251"};
    for (int i = 0; i < 5; ++i)
        put(five[i], w - 195 + 34 * i, b + 20);
    put("lock_icons", 20, b + 24);
    return strip;
}

int WriteSheet(const QString& file) {
    std::map<QString, QImage> images;
    for (const skin::Picture& picture : skin::Catalog())
        images[picture.name] = Render(picture);

    const QImage strip = InPlace(images);
    QImage sheet(kSheetWidth, 1500, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(skin::Backdrop());
    QPainter p(&sheet);
    p.setRenderHint(QPainter::Antialiasing);
    int y = DrawGrid(p, images, 0);
    Heading(p, y + 18, QStringLiteral("In place at 1x: top band and transport row of a 1250-pixel window"));
    p.drawImage(QRect(15, y + 30, kSheetWidth - 30, strip.height() * (kSheetWidth - 30) / strip.width()),
                strip);
    y += 30 + strip.height() + 20;
    Heading(p, y + 18, QStringLiteral("Left part of the same strip at 2x"));
    const QRect left(0, 0, (kSheetWidth - 30) / 2, strip.height());
    p.drawImage(QRect(15, y + 30, left.width() * 2, left.height() * 2), strip.copy(left));
    y += 30 + left.height() * 2 + 16;
    p.end();
    if (!sheet.copy(0, 0, kSheetWidth, y).save(file, "PNG")) {
        std::fprintf(stderr, "skin_painter: cannot write %s\n", qPrintable(file));
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    // Text is drawn as glyph outlines, which needs the font database of a GUI application;
    // no display is needed.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args[0] == QStringLiteral("--sheet")) return WriteSheet(args[1]);
    if (args.size() >= 3 && args[0] == QStringLiteral("--app-icon"))
        return WriteAppIcons(args[1], args.mid(2));
    if (args.size() >= 2 && !args[0].startsWith(QLatin1Char('-'))) return WritePictures(args[0], args.mid(1));
    std::fprintf(stderr, "usage: skin_painter <output folder> <name>...\n"
                         "       skin_painter --sheet <file.png>\n"
                         "       skin_painter --app-icon <output folder> <pixels>...\n");
    return 2;
}

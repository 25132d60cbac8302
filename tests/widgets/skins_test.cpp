// The skin pictures as the program loads them: every number, its size, its states told apart,
// and the compass roses pointing where their number says.
#include "skin_picture.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <QtMath>
#include <cmath>

namespace {

struct Expected {
    const char* name;
    int width;
    int height;
};

// Sizes of the controls that show them (logo 64 x 64, title 189 x 48, roses 48 x 48 and the
// tool-tip icon 32 x 32 are the pictures' own sizes).
const Expected kPictures[] = {
    {"150", 48, 36},        {"256", 48, 36}, {"258", 36, 36}, {"133", 36, 36},  {"137", 36, 36},
    {"257", 36, 36},        {"139", 36, 36}, {"146", 36, 36}, {"144", 36, 36},  {"184", 12, 24},
    {"183", 12, 24},        {"262", 44, 36}, {"261", 44, 36}, {"263", 44, 36},  {"1047", 16, 16},
    {"219", 16, 16},        {"221", 16, 16}, {"182", 25, 25}, {"181", 25, 25},  {"180", 25, 25},
    {"179", 25, 25},        {"152", 32, 32}, {"154", 32, 32}, {"156", 32, 32},  {"158", 32, 32},
    {"207", 32, 32},        {"163", 32, 32}, {"167", 32, 32}, {"172", 32, 32},  {"251", 32, 32},
    {"174", 32, 32},        {"178", 32, 32}, {"185", 64, 64}, {"265", 189, 48}, {"197", 48, 48},
    {"198", 48, 48},        {"199", 48, 48}, {"200", 48, 48}, {"201", 48, 48},  {"202", 48, 48},
    {"203", 48, 48},        {"204", 48, 48}, {"191", 32, 32}, {"248", 64, 64},  {"131", 256, 256},
    {"lock_icons", 96, 24},
};

QImage Load(const QString& name) {
    CSkinPicture holder;
    EXPECT_TRUE(holder.Load(name)) << name.toStdString();
    return holder.Picture();
}

int OpaquePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 200;
    return count;
}

// Direction (degrees clockwise from up) of the centre of the strongly blue pixels seen from the
// picture's centre: where the accent-coloured north point of a rose lies.
double AccentDirection(const QImage& rose) {
    double sx = 0, sy = 0;
    const QImage straight = rose.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < straight.height(); ++y)
        for (int x = 0; x < straight.width(); ++x) {
            const QRgb c = straight.pixel(x, y);
            if (qAlpha(c) > 200 && qBlue(c) > 180 && qBlue(c) > qRed(c) + 100) {
                sx += x + 0.5 - straight.width() / 2.0;
                sy += y + 0.5 - straight.height() / 2.0;
            }
        }
    const double degrees = qRadiansToDegrees(std::atan2(sx, -sy));
    return degrees < 0 ? degrees + 360 : degrees;
}

} // namespace

TEST(SkinPictures, EveryNumberLoadsWithItsSizeAndAlpha) {
    for (const Expected& expected : kPictures) {
        SCOPED_TRACE(expected.name);
        const QImage picture = Load(QString::fromLatin1(expected.name));
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(picture.size(), QSize(expected.width, expected.height));
        EXPECT_TRUE(picture.hasAlphaChannel());
        EXPECT_GT(OpaquePixels(picture), picture.width() * picture.height() / 20) << "nearly empty";
        // Rounded plates and round emblems leave the corners to the skin behind them.
        EXPECT_LT(qAlpha(picture.pixel(0, 0)), 128);
    }
}

TEST(SkinPictures, MissingPictureLeavesTheHolderEmpty) {
    CSkinPicture holder;
    ASSERT_TRUE(holder.Load(133));
    EXPECT_FALSE(holder.Load(999));
    EXPECT_FALSE(holder.HasPicture());
    EXPECT_FALSE(holder.Load(-1));
    EXPECT_EQ(CSkinPicture::ResourcePath(150), QStringLiteral(":/png/150.png"));
}

TEST(SkinPictures, StatesOfOneButtonDiffer) {
    const std::pair<const char*, const char*> pairs[] = {
        {"133", "137"}, {"184", "183"}, {"262", "261"},  {"262", "263"}, {"261", "263"},
        {"158", "207"}, {"251", "174"}, {"1047", "219"}, {"219", "221"}, {"146", "144"},
    };
    for (const auto& [a, b] : pairs)
        EXPECT_NE(Load(QString::fromLatin1(a)), Load(QString::fromLatin1(b))) << a << " and " << b;
}

TEST(SkinPictures, CompassRosesTurnClockwiseInStepsOf45Degrees) {
    for (int step = 0; step < 8; ++step) {
        const double direction = AccentDirection(Load(QString::number(197 + step)));
        double off = std::fmod(std::abs(direction - 45.0 * step), 360.0);
        off = std::min(off, 360.0 - off);
        EXPECT_LT(off, 8.0) << "picture " << 197 + step << " points north at " << direction;
    }
}

TEST(SkinPictures, LockStripHasAnEmptyFirstCellAndThreePadlocks) {
    const QImage strip = Load(QString::fromLatin1(kLockIconsResource));
    ASSERT_EQ(strip.size(), QSize(96, 24));
    for (int cell = 0; cell < 4; ++cell) {
        const int opaque = OpaquePixels(strip.copy(cell * 24, 0, 24, 24));
        if (cell == 0)
            EXPECT_EQ(opaque, 0);
        else
            EXPECT_GT(opaque, 120) << "cell " << cell;
    }
}

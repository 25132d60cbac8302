// PNG pictures of the skin by resource number. The pictures are drawn at build time and packed
// as Qt resources under :/png/<number>.png (res/skins); the holders decode them with alpha.
#pragma once

#include <QImage>
#include <QString>

// Owns one decoded picture, or none.
class CPictureHolder {
  public:
    CPictureHolder() = default;
    virtual ~CPictureHolder() = default;
    CPictureHolder(const CPictureHolder&) = delete;
    CPictureHolder& operator=(const CPictureHolder&) = delete;

    bool HasPicture() const { return !m_pBitmap.isNull(); }
    // The picture in premultiplied ARGB32; a null image when there is none.
    const QImage& Picture() const { return m_pBitmap; }
    void Release() { m_pBitmap = QImage(); }

  protected:
    QImage m_pBitmap;
};

// A picture loaded from the program's own resources. Qt keeps the resource bytes in the program
// image for its whole life, so no copy of them is held beside the picture.
class CSkinPicture : public CPictureHolder {
  public:
    // Releases any picture held, then decodes :/png/<resourceNumber>.png. False (and no picture)
    // when the resource does not exist, is empty or does not decode.
    bool Load(int resourceNumber);
    // The same for a picture that has a name instead of a number ("lock_icons").
    bool Load(const QString& name);

    static QString ResourcePath(int resourceNumber);
    static QString ResourcePath(const QString& name);
};

// The lock icons of the file and group lists: four 24 x 24 cells in one strip (transparent
// background), cell index = lock marks.
inline constexpr char kLockIconsResource[] = "lock_icons";

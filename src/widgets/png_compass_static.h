// The compass of the top bar: a rose turned in steps of 45 degrees so that the direction of
// travel points up, or the north-up rose in grey while no fix is known.
#pragma once

#include <QImage>
#include <QWidget>

#include <vector>

// The image (1 = north up, each next one turned 45 degrees further clockwise) for a heading in
// degrees, out of `imageCount` images; 0 when there are no images. Any heading is accepted: it
// is reduced into 0..359 first.
int CompassImageForHeading(int headingDegrees, int imageCount);

class CPngCompassStatic : public QWidget {
    Q_OBJECT
  public:
    explicit CPngCompassStatic(QWidget* parent = nullptr);

    // Appends the PNG picture of that resource number; 0 (nothing added) when it cannot be loaded.
    int AddImage(int resourceNumber);
    // Appends a picture already loaded; 0 for a null picture.
    int AddImage(const QImage& image);
    // Replaces all pictures.
    void SetImages(std::vector<QImage> images);
    int ImageCount() const { return static_cast<int>(m_images.size()); }

    // Chooses the picture for the heading and repaints. Returns 1.
    int SetHeading(int headingDegrees);

    // 1..number of pictures; 0 while no heading is known (the grey north-up rose). Callers that
    // set it directly repaint afterwards.
    int m_nImage = 0;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void SyncAccessibleText();

    std::vector<QImage> m_images;
    QImage m_greyRose; // image 1 through the grey-scale matrix, made when image 1 arrives
};

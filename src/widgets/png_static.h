// A PNG picture of the skin shown scaled to the control, in colour or in grey (the GPS indicator
// is grey without a fix). Without a picture it draws nothing.
#pragma once

#include "skin_picture.h"

#include <QImage>
#include <QWidget>
#include <memory>

class CPngStatic : public QWidget {
    Q_OBJECT
  public:
    explicit CPngStatic(QWidget* parent = nullptr);
    ~CPngStatic() override;

    // Creates the holder and loads the picture by number; false (no picture) when it fails.
    bool LoadImage(int resourceNumber);

    // The main window may also set these directly and then call update().
    std::unique_ptr<CSkinPicture> m_pImage;
    int m_bColor = 1; // 1 colour, 0 grey

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage m_grey;         // the picture through the grey-scale matrix, made when first needed
    qint64 m_greyFrom = 0; // key of the picture m_grey was made from
};

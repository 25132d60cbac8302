// The skinned command button: a PNG picture per state (standard, alternate, third), each prepared
// once in three faces (normal, pressed, hover) plus a grey disabled face. It stays a real button:
// clicks come out as clicked(), the keyboard presses it, and assistive technology sees a push
// button (a toggle button, with its checked state, while m_bToggle is set) that it can press.
#pragma once

#include "skin_picture.h"

#include <QAbstractButton>
#include <QImage>
#include <array>
#include <memory>

class CSkinButton : public QAbstractButton {
    Q_OBJECT
  public:
    explicit CSkinButton(QWidget* parent = nullptr);
    ~CSkinButton() override;

    // Creates the holders and loads the pictures by number (0: none), setting m_bHaveAltImage and
    // m_bHaveThirdImage from what loaded. False when the standard picture did not load.
    bool LoadImages(int standard, int alternate = 0, int third = 0);

    // The main window may also set these directly and then call update().
    std::unique_ptr<CSkinPicture> m_pStdImage;   // without it nothing is drawn
    std::unique_ptr<CSkinPicture> m_pAltImage;   // the toggled state
    std::unique_ptr<CSkinPicture> m_pThirdImage; // a further state
    int m_bHaveAltImage = 0;
    int m_bHaveThirdImage = 0;
    int m_bToggle = 0;       // every click switches between the standard and the alternate state
    int m_bDisabledLook = 0; // show the grey face
    int m_nImageState = 0;   // 0 standard, 1 alternate, 2 third

    bool IsHover() const { return m_bHover != 0; }
    bool IsTracking() const { return m_bTracking != 0; }

    enum Face { kNormal, kPressed, kHover };
    // The face the button shows now (what the next paint draws); null when it shows nothing.
    QImage CurrentFace();
    // A prepared face of a state (0, 1, 2), made on demand; null when that state has no picture.
    QImage PreparedFace(int imageState, Face face);
    QImage PreparedDisabledFace();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void nextCheckState() override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

  private:
    struct Faces {
        QImage normal, pressed, hover;
    };

    void Prepare();
    const QImage* Choose() const;
    const Faces* FacesOf(int imageState) const;

    int m_bHover = 0;
    int m_bTracking = 0;
    bool m_bKeyboardFocus = false; // focus came by Tab: show the focus ring
    std::array<Faces, 3> m_faces;  // standard, alternate, third
    QImage m_disabled;
    std::array<qint64, 3> m_preparedFrom{}; // picture keys the faces were made from
    QSize m_preparedSize;
    const QImage* m_pCurrent = nullptr; // the face painted last
};

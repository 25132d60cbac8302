#include "skin_button.h"

#include "glow_text.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

// Hover brightening: each of red, green and blue c becomes 1.05 c + 0.05; alpha is kept.
const ColorMatrix kHoverMatrix = {
    {1.05f, 0, 0, 0, 0}, {0, 1.05f, 0, 0, 0},         {0, 0, 1.05f, 0, 0},
    {0, 0, 0, 1, 0},     {0.05f, 0.05f, 0.05f, 0, 1},
};

QImage Premultiplied(const QImage& image) {
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage ScaledTo(const QImage& picture, const QSize& size) {
    return Premultiplied(picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

// The face moved one pixel right and down; its last row and column fall off.
QImage ShiftedByOne(const QImage& face) {
    QImage shifted(face.size(), QImage::Format_ARGB32_Premultiplied);
    shifted.fill(Qt::transparent);
    QPainter painter(&shifted);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPoint(1, 1), face);
    return shifted;
}

bool Usable(const std::unique_ptr<CSkinPicture>& holder) {
    return holder && holder->HasPicture();
}

// Push button to assistive technology, or toggle button (checkable, checked in the alternate
// state) while the button toggles itself; its press action clicks it like the mouse does.
class GdipButtonAccessible : public QAccessibleWidget {
  public:
    explicit GdipButtonAccessible(CSkinButton* button) : QAccessibleWidget(button, QAccessible::Button) {}

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.pressed = Button()->isDown();
        if (Button()->m_bToggle) {
            state.checkable = true;
            state.checked = Button()->m_nImageState == 1;
        }
        return state;
    }

    QStringList actionNames() const override {
        QStringList names = {pressAction()};
        if (Button()->m_bToggle) names << toggleAction();
        return names + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& name) override {
        if (!Button()->isEnabled()) return;
        if (name == pressAction() || (name == toggleAction() && Button()->m_bToggle))
            Button()->click();
        else
            QAccessibleWidget::doAction(name);
    }

  private:
    CSkinButton* Button() const { return static_cast<CSkinButton*>(widget()); }
};

QAccessibleInterface* GdipButtonAccessibleFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("CSkinButton") && object && object->isWidgetType())
        return new GdipButtonAccessible(static_cast<CSkinButton*>(object));
    return nullptr;
}

} // namespace

CSkinButton::CSkinButton(QWidget* parent) : QAbstractButton(parent) {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(GdipButtonAccessibleFactory);
        return true;
    }();
    (void)factoryInstalled;
    setMouseTracking(true);                  // the first move over the button starts the hover look
    setAttribute(Qt::WA_NoSystemBackground); // the skin under the button shows through
}

CSkinButton::~CSkinButton() = default;

bool CSkinButton::LoadImages(int standard, int alternate, int third) {
    auto load = [](int number) {
        auto holder = std::make_unique<CSkinPicture>();
        if (number > 0) holder->Load(number);
        return holder;
    };
    m_pStdImage = load(standard);
    m_pAltImage = load(alternate);
    m_pThirdImage = load(third);
    m_bHaveAltImage = m_pAltImage->HasPicture() ? 1 : 0;
    m_bHaveThirdImage = m_pThirdImage->HasPicture() ? 1 : 0;
    update();
    return m_pStdImage->HasPicture();
}

// The faces are made once per picture and size: again only when the main window gives the
// button other pictures or another size.
void CSkinButton::Prepare() {
    const std::array<const std::unique_ptr<CSkinPicture>*, 3> holders = {&m_pStdImage, &m_pAltImage,
                                                                                   &m_pThirdImage};
    const std::array<int, 3> wanted = {1, m_bHaveAltImage, m_bHaveThirdImage};
    std::array<qint64, 3> keys{};
    for (size_t i = 0; i < holders.size(); ++i)
        keys[i] = (wanted[i] && Usable(*holders[i])) ? (*holders[i])->Picture().cacheKey() : 0;
    if (keys == m_preparedFrom && size() == m_preparedSize) return;

    m_preparedFrom = keys;
    m_preparedSize = size();
    m_faces = {};
    m_disabled = QImage();
    m_pCurrent = nullptr;
    if (keys[0] == 0 || size().isEmpty()) return; // no standard picture: nothing of our own to draw
    for (size_t i = 0; i < holders.size(); ++i) {
        if (keys[i] == 0) continue;
        const QImage normal = ScaledTo((*holders[i])->Picture(), size());
        m_faces[i] = {normal, ShiftedByOne(normal), Premultiplied(ColorMatrixApplied(normal, kHoverMatrix))};
    }
    m_disabled = Premultiplied(ColorMatrixApplied(m_faces[0].normal, kGrayScaleMatrix));
}

const CSkinButton::Faces* CSkinButton::FacesOf(int imageState) const {
    const Faces& faces = imageState == 0 ? m_faces[0] : imageState == 2 ? m_faces[2] : m_faces[1];
    return faces.normal.isNull() ? nullptr : &faces;
}

// Disabled look first, then pressed, hover and normal of the current state. The toggle itself
// happens in nextCheckState (the click), never here: painting may happen any number of times.
const QImage* CSkinButton::Choose() const {
    if (m_bDisabledLook || !isEnabled()) return m_disabled.isNull() ? nullptr : &m_disabled;
    const Faces* faces = FacesOf(m_nImageState);
    if (!faces) return nullptr;
    if (isDown()) return &faces->pressed;
    if (m_bHover) return &faces->hover;
    return &faces->normal;
}

QImage CSkinButton::CurrentFace() {
    Prepare();
    const QImage* face = Choose();
    return face ? *face : QImage();
}

QImage CSkinButton::PreparedFace(int imageState, Face face) {
    Prepare();
    const Faces* faces = FacesOf(imageState);
    if (!faces) return QImage();
    return face == kPressed ? faces->pressed : face == kHover ? faces->hover : faces->normal;
}

QImage CSkinButton::PreparedDisabledFace() {
    Prepare();
    return m_disabled;
}

void CSkinButton::paintEvent(QPaintEvent*) {
    Prepare();
    m_pCurrent = Choose();
    if (!m_pCurrent) return;
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), *m_pCurrent);
    if (m_bKeyboardFocus && hasFocus()) {
        // Where the keyboard is: a thin ring in the skin's accent blue.
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(40, 160, 255, 200), 1.0));
        painter.setBrush(Qt::NoBrush);
        const qreal radius = std::min(width(), height()) * 0.27;
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -1.5), radius, radius);
    }
}

void CSkinButton::focusInEvent(QFocusEvent* event) {
    m_bKeyboardFocus = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    QAbstractButton::focusInEvent(event);
}

void CSkinButton::nextCheckState() {
    if (m_bToggle) m_nImageState = (m_nImageState == 0) ? 1 : 0;
    QAbstractButton::nextCheckState();
    if (m_bToggle) {
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent event(this, changed);
        QAccessible::updateAccessibility(&event);
    }
}

// A double click is a second press: quick presses on transport buttons must not be lost.
void CSkinButton::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void CSkinButton::mouseMoveEvent(QMouseEvent* event) {
    if (!m_bTracking) m_bTracking = 1;
    if (!m_bHover) {
        m_bHover = 1;
        update();
    }
    QAbstractButton::mouseMoveEvent(event);
}

void CSkinButton::leaveEvent(QEvent* event) {
    m_bHover = 0;
    m_bTracking = 0;
    update();
    QAbstractButton::leaveEvent(event);
}

// A hidden button gets no leave notice: it must not come back lit.
void CSkinButton::hideEvent(QHideEvent* event) {
    m_bHover = 0;
    m_bTracking = 0;
    QAbstractButton::hideEvent(event);
}

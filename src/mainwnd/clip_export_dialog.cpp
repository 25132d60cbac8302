#include "clip_export_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "evidence_texts.h"
#include "lang_text.h"

namespace {

unsigned LayoutTextId(ClipLayout layout) {
    switch (layout) {
    case ClipLayout::kSideBySide:
        return IDS_CLIP_SIDE_BY_SIDE;
    case ClipLayout::kFrontOnly:
        return IDS_CLIP_FRONT_ONLY;
    case ClipLayout::kRearOnly:
        return IDS_CLIP_REAR_ONLY;
    case ClipLayout::kPictureInPicture:
        return IDS_CLIP_PICTURE_IN_PICTURE;
    }
    return IDS_CLIP_FRONT_ONLY;
}

// "Export clip..." without its dots: the dialog's title.
QString DialogTitle() {
    QString title = LangText(IDS_CMD_EXPORT_CLIP);
    while (title.endsWith(u'.') || title.endsWith(QChar(0x2026))) title.chop(1);
    return title.trimmed();
}

QString ShownPath(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

std::filesystem::path PathOf(const QString& shown) {
    return std::filesystem::path(QFile::encodeName(shown).toStdString());
}

// A label that names its field for assistive technology too.
QLabel* FieldLabel(unsigned id, QWidget* field, QWidget* parent) {
    auto* label = new QLabel(LangText(id), parent);
    label->setBuddy(field);
    field->setAccessibleName(label->text());
    return label;
}

} // namespace

std::vector<ClipLayout> ClipLayoutsFor(bool hasRear) {
    if (!hasRear) return {ClipLayout::kFrontOnly};
    return {ClipLayout::kSideBySide, ClipLayout::kFrontOnly, ClipLayout::kRearOnly, ClipLayout::kPictureInPicture};
}

CClipExportDialog::CClipExportDialog(QWidget* parent, const ClipExportSettings& proposed, bool hasRear)
    : QDialog(parent), m_pLayout(new QComboBox(this)), m_pPicture(new QComboBox(this)),
      m_pOutput(new QLineEdit(this)) {
    setWindowTitle(DialogTitle());
    setAccessibleName(windowTitle());
    for (ClipLayout layout : ClipLayoutsFor(hasRear)) {
        m_pLayout->addItem(LangText(LayoutTextId(layout)), static_cast<int>(layout));
        if (layout == proposed.layout) m_pLayout->setCurrentIndex(m_pLayout->count() - 1);
    }
    const std::pair<ClipPicture, unsigned> pictures[] = {
        {ClipPicture::kOverlay, IDS_CLIP_OVERLAY},
        {ClipPicture::kPlain, IDS_CLIP_PLAIN},
        {ClipPicture::kCopy, IDS_CLIP_QUICK_CUT},
    };
    for (const auto& [picture, id] : pictures) {
        m_pPicture->addItem(LangText(id), static_cast<int>(picture));
        if (picture == proposed.picture) m_pPicture->setCurrentIndex(m_pPicture->count() - 1);
    }
    m_pOutput->setText(ShownPath(proposed.output));
    auto* browse = new QPushButton(LangText(IDS_CLIP_BROWSE), this);
    browse->setAccessibleName(browse->text());
    connect(browse, &QPushButton::clicked, this, &CClipExportDialog::Browse);

    auto* outputRow = new QHBoxLayout;
    outputRow->addWidget(m_pOutput, 1);
    outputRow->addWidget(browse);
    auto* form = new QFormLayout;
    form->addRow(FieldLabel(IDS_CLIP_LAYOUT, m_pLayout, this), m_pLayout);
    form->addRow(FieldLabel(IDS_CLIP_PICTURE, m_pPicture, this), m_pPicture);
    form->addRow(FieldLabel(IDS_CLIP_OUTPUT, m_pOutput, this), outputRow);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    for (QAbstractButton* button : buttons->buttons()) button->setAccessibleName(button->text());
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addWidget(buttons);
    m_pOutput->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 60);
}

ClipExportSettings CClipExportDialog::Settings() const {
    ClipExportSettings settings;
    settings.layout = static_cast<ClipLayout>(m_pLayout->currentData().toInt());
    settings.picture = static_cast<ClipPicture>(m_pPicture->currentData().toInt());
    settings.output = PathOf(m_pOutput->text().trimmed());
    return settings;
}

// The platform's save dialog asks nothing about an existing file: the export asks once itself.
void CClipExportDialog::Browse() {
    const QString chosen = QFileDialog::getSaveFileName(this, windowTitle(), m_pOutput->text(),
                                                        QStringLiteral("MP4 (*.mp4 *.MP4)"), nullptr,
                                                        QFileDialog::DontConfirmOverwrite);
    if (!chosen.isEmpty()) m_pOutput->setText(chosen);
}

std::optional<ClipExportSettings> AskClipExportSettings(QWidget* parent, const ClipExportSettings& proposed,
                                                        bool hasRear) {
    CClipExportDialog dialog(parent, proposed, hasRear);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    ClipExportSettings settings = dialog.Settings();
    if (settings.output.empty()) return std::nullopt;
    return settings;
}

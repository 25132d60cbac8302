#include "about_dlg.h"

#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <utility>

#include "command_table.h"
#include "skin_picture.h"
#include "lang_text.h"
#include "string_tables.h"

namespace {

constexpr unsigned IDS_ABOUT_TITLE = 101;
constexpr int kAboutPicture = 248;

QLabel* Caption(QWidget* parent, int id, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::number(id));
    label->setAccessibleName(text);
    return label;
}

QLabel* Picture(QWidget* parent) {
    auto* picture = new QLabel(parent);
    picture->setObjectName(QStringLiteral("1069"));
    picture->setFixedSize(64, 64);
    CSkinPicture bitmap;
    if (bitmap.Load(kAboutPicture)) picture->setPixmap(QPixmap::fromImage(bitmap.Picture()));
    picture->setAccessibleName(QStringLiteral("Halvorn Veltrix"));
    return picture;
}

} // namespace

CAboutDlg::CAboutDlg(std::vector<ShortcutRow> shortcuts, QWidget* parent)
    : QDialog(parent), m_rows(std::move(shortcuts)) {
    setObjectName(QStringLiteral("100"));
    setFont(QFont(QStringLiteral("Georgia"), 12));

    auto* captions = new QVBoxLayout;
    captions->addWidget(Caption(this, 1051, QStringLiteral("Halvorn Veltrix")));
    captions->addWidget(Caption(this, 1054, QStringLiteral("Dash Camera Viewer")));
    QLabel* hidden = Caption(this, 1073, QStringLiteral("バージョン"));
    hidden->hide();
    captions->addWidget(hidden);
    captions->addWidget(Caption(this, 1056, QStringLiteral("Version 1.04")));
    captions->addStretch(1);

    auto* top = new QHBoxLayout;
    top->addWidget(Picture(this), 0, Qt::AlignTop);
    top->addLayout(captions, 1);

    m_pShortcuts = new QTableWidget(0, 2, this);
    m_pShortcuts->setObjectName(QStringLiteral("shortcuts"));
    m_pShortcuts->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pShortcuts->setSelectionMode(QAbstractItemView::NoSelection);
    m_pShortcuts->verticalHeader()->hide();
    m_pShortcuts->horizontalHeader()->setStretchLastSection(true);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("1"));
    ok->setAccessibleName(ok->text());
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_pShortcuts, 1);
    layout->addWidget(ok, 0, Qt::AlignRight);
    resize(520, 560);
}

int CAboutDlg::exec() {
    OnInitDialog();
    return QDialog::exec();
}

void CAboutDlg::OnInitDialog() {
    setWindowTitle(LangText(IDS_ABOUT_TITLE));
    setAccessibleName(windowTitle());
    FillShortcuts();
}

void CAboutDlg::FillShortcuts() {
    m_pShortcuts->setAccessibleName(LangText(IDS_SHORTCUTS));
    m_pShortcuts->setHorizontalHeaderLabels({LangText(IDS_SHORTCUT_KEY), LangText(IDS_SHORTCUT_COMMAND)});
    const std::vector<ShortcutRow>& rows = m_rows;
    m_pShortcuts->setRowCount(int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r) {
        m_pShortcuts->setItem(r, 0, new QTableWidgetItem(rows[size_t(r)].m_strKey));
        m_pShortcuts->setItem(r, 1, new QTableWidgetItem(rows[size_t(r)].m_strCommand));
    }
    m_pShortcuts->resizeColumnToContents(0);
}

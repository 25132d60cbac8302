#include "config_dialog.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "lang_text.h"
#include "language.h"
#include "private_message.h"
#include "settings.h"

namespace {

constexpr unsigned IDS_GOOGLE_MAP = 106;
constexpr unsigned IDS_CHINA_MAP = 107;
constexpr unsigned IDS_OK = 108;
constexpr unsigned IDS_CANCEL = 109;
constexpr unsigned IDS_APPLY = 110;
constexpr unsigned IDS_CONFIG = 111;
constexpr unsigned IDS_SELECT_LANGUAGE = 115;
constexpr unsigned IDS_SELECT_MAP = 116;
constexpr unsigned IDS_OPEN_STREET_MAP = 171;
constexpr unsigned IDS_CLEAR_MAP_CACHE = 1160;
constexpr unsigned IDS_MAP_CACHE_CLEARING = 1161;
constexpr unsigned IDS_NO_MAP_CACHE = 1162;
constexpr int IDC_CLEAR_MAP_CACHE = 1171;
constexpr int IDC_MAP_CACHE_STATUS = 1172;

template <class T> T* Control(T* control, int id) {
    control->setObjectName(QString::number(id));
    return control;
}

// A drop-down list whose items can only be chosen, never typed.
QComboBox* ChoiceList(QWidget* parent, int id) {
    auto* list = Control(new QComboBox(parent), id);
    list->setEditable(false);
    list->setMaxVisibleItems(16);
    return list;
}

QGroupBox* ChoiceGroup(QWidget* parent, int id, QComboBox* list, QPushButton* apply) {
    auto* group = Control(new QGroupBox(parent), id);
    auto* row = new QHBoxLayout(group);
    row->addWidget(list, 1);
    row->addWidget(apply);
    return group;
}

} // namespace

CConfigDialog::CConfigDialog(QWidget* parent, QObject* receiver)
    : QDialog(parent), m_pReceiver(receiver ? receiver : parent) {
    setObjectName(QStringLiteral("173"));
    m_cbMap = ChoiceList(this, 1038);
    m_cbLang = ChoiceList(this, 1043);
    m_pApplyMap = Control(new QPushButton(this), 1039);
    m_pApplyLang = Control(new QPushButton(this), 1044);
    m_pMapBox = ChoiceGroup(this, 1040, m_cbMap, m_pApplyMap);
    m_pLangBox = ChoiceGroup(this, 1042, m_cbLang, m_pApplyLang);
    m_pClearCache = Control(new QPushButton(this), IDC_CLEAR_MAP_CACHE);
    m_pClearCache->setEnabled(false);
    m_pCacheStatus = Control(new QLabel(this), IDC_MAP_CACHE_STATUS);
    m_pOk = Control(new QPushButton(this), 1);
    m_pCancel = Control(new QPushButton(this), 2);
    m_pOk->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_pOk);
    buttons->addWidget(m_pCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pMapBox);
    layout->addWidget(m_pLangBox);
    auto* cacheRow = new QHBoxLayout;
    cacheRow->addWidget(m_pClearCache);
    cacheRow->addWidget(m_pCacheStatus, 1);
    layout->addLayout(cacheRow);
    layout->addLayout(buttons);

    connect(m_pApplyMap, &QPushButton::clicked, this, [this] { ApplyMap(); });
    connect(m_pApplyLang, &QPushButton::clicked, this, [this] { OnApplyLanguage(); });
    connect(m_pClearCache, &QPushButton::clicked, this, [this] { OnClearMapCache(); });
    connect(m_pOk, &QPushButton::clicked, this, [this] { accept(); });
    connect(m_pCancel, &QPushButton::clicked, this, [this] { reject(); });
}

int CConfigDialog::exec() {
    // Whoever opens the dialog, a showing never inherits the row recorded by an earlier one.
    m_nLangAtOpen = -1;
    m_bRestartNeeded = false;
    m_pCacheStatus->clear();
    OnInitDialog();
    return QDialog::exec();
}

void CConfigDialog::OnInitDialog() {
    CAppSettings& settings = GetAppSettings();
    m_cbLang->clear();
    for (const LanguageRow& row : LANGUAGE_TABLE)
        m_cbLang->addItem(QString::fromUtf8(row.name), QString::fromLatin1(row.code));
    m_cbMap->clear();
    for (unsigned id : {IDS_GOOGLE_MAP, IDS_CHINA_MAP, IDS_OPEN_STREET_MAP})
        m_cbMap->addItem(LangText(id));
    m_cbLang->setCurrentIndex(settings.m_nLangIndex);
    ApplyTexts();
    settings.m_nMapKind = settings.ReadMapKind();
    m_cbMap->setCurrentIndex(settings.m_nMapKind < m_cbMap->count() ? settings.m_nMapKind : 0);
}

void CConfigDialog::ApplyTexts() {
    setWindowTitle(LangText(IDS_CONFIG));
    m_pOk->setText(LangText(IDS_OK));
    m_pCancel->setText(LangText(IDS_CANCEL));
    m_pApplyLang->setText(LangText(IDS_APPLY));
    m_pApplyMap->setText(LangText(IDS_APPLY));
    m_pMapBox->setTitle(LangText(IDS_SELECT_MAP));
    m_pLangBox->setTitle(LangText(IDS_SELECT_LANGUAGE));
    m_pClearCache->setText(LangText(IDS_CLEAR_MAP_CACHE));
    // Assistive technology names each control after what it does, in the same language.
    setAccessibleName(windowTitle());
    m_cbMap->setAccessibleName(m_pMapBox->title());
    m_cbLang->setAccessibleName(m_pLangBox->title());
    m_pApplyMap->setAccessibleName(m_pMapBox->title() + QStringLiteral(": ") + m_pApplyMap->text());
    m_pApplyLang->setAccessibleName(m_pLangBox->title() + QStringLiteral(": ") + m_pApplyLang->text());
    m_pOk->setAccessibleName(m_pOk->text());
    m_pCancel->setAccessibleName(m_pCancel->text());
    m_pMapBox->setAccessibleName(m_pMapBox->title());
    m_pLangBox->setAccessibleName(m_pLangBox->title());
    m_pClearCache->setAccessibleName(m_pClearCache->text());
    m_pCacheStatus->setAccessibleName(m_pClearCache->text());
}

void CConfigDialog::SetMapCacheClearer(std::function<bool()> clear) {
    m_clearMapCache = std::move(clear);
    m_pClearCache->setEnabled(bool(m_clearMapCache));
}

void CConfigDialog::OnClearMapCache() {
    if (!m_clearMapCache) return;
    m_pCacheStatus->setText(LangText(m_clearMapCache() ? IDS_MAP_CACHE_CLEARING : IDS_NO_MAP_CACHE));
    m_pCacheStatus->setAccessibleDescription(m_pCacheStatus->text());
}

void CConfigDialog::ApplyMap() {
    const int item = m_cbMap->currentIndex();
    m_nMapKind = (item == 1 || item == 2) ? item : 0;
    CAppSettings& settings = GetAppSettings();
    settings.m_nMapKind = m_nMapKind;
    settings.WriteInt("UI", "MAP", m_nMapKind);
    PostPrivateMessage(m_pReceiver, MSG_MAP_CHANGED, uintptr_t(m_nMapKind));
}

void CConfigDialog::OnApplyLanguage() {
    const int row = m_cbLang->currentIndex();
    CAppSettings& settings = GetAppSettings();
    m_nLangAtOpen = settings.m_nLangIndex;
    settings.SetLanguage(row);
    const int mapItem = m_cbMap->currentIndex();
    ApplyTexts();
    m_cbMap->setCurrentIndex(mapItem);
    if (row >= 0) PostPrivateMessage(m_pReceiver, MSG_LANGUAGE_CHANGED, uintptr_t(row));
}

void CConfigDialog::accept() {
    ApplyMap();
    const int row = m_cbLang->currentIndex();
    CAppSettings& settings = GetAppSettings();
    if (m_nLangAtOpen == -1) m_nLangAtOpen = settings.m_nLangIndex;
    settings.SetLanguage(row);
    ApplyTexts();
    settings.m_nMapKind = settings.ReadMapKind();
    m_cbMap->setCurrentIndex(settings.m_nMapKind);
    if (row >= 0) PostPrivateMessage(m_pReceiver, MSG_LANGUAGE_CHANGED, uintptr_t(row));
    QDialog::accept();
    m_bRestartNeeded = settings.m_nLangIndex != m_nLangAtOpen;
}

int RunConfigCommand(QWidget* window, const ConfigCommandHooks& hooks) {
    CConfigDialog dialog(window, window);
    dialog.SetMapCacheClearer(hooks.clearMapCache);
    const int result = dialog.exec();
    if (result != QDialog::Accepted) return result;
    // A successful restart ends this process here; when it stays, the new map still applies.
    if (dialog.RestartNeeded()) RestartProgram(hooks.restart);
    if (hooks.takeMapKind) hooks.takeMapKind(dialog.m_nMapKind);
    return result;
}

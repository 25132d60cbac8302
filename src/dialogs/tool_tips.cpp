#include "tool_tips.h"

#include <QEvent>
#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

#include "skin_picture.h"
#include "lang_text.h"

namespace {

int ControlIdOf(const QWidget* window) {
    bool ok = false;
    const int id = window ? window->objectName().toInt(&ok) : 0;
    return ok ? id : 0;
}

} // namespace

CToolTips::CToolTips(QObject* parent) : QObject(parent) {}

bool CToolTips::AddTool(QWidget* window, const QString& text) {
    if (!window) return false;
    m_toolWindows.append(window);
    window->setToolTip(text);
    window->installEventFilter(this);
    return true;
}

void CToolTips::DelTool(QWidget* window) {
    const qsizetype at = m_toolWindows.indexOf(window);
    if (at >= 0) m_toolWindows.removeAt(at);
    if (!window || m_toolWindows.contains(window)) return;
    window->setToolTip(QString());
    window->removeEventFilter(this);
}

const ToolRecord* CToolTips::FindRecord(int ctrlId) const {
    for (const ToolRecord& record : m_tools)
        if (record.m_nCtrlId == ctrlId) return &record;
    return nullptr;
}

QString CToolTips::PrepareTip(QWidget* window) {
    m_nShownCtrlId = ControlIdOf(window);
    const ToolRecord* record = FindRecord(m_nShownCtrlId);
    QString text = QStringLiteral("<b>%1</b>").arg(window->toolTip().toHtmlEscaped());
    if (record && record->m_nDescriptionId != 0)
        text += QStringLiteral("<br>") + LangText(unsigned(record->m_nDescriptionId)).toHtmlEscaped();
    if (!record || record->m_nImageId == 0) return QStringLiteral("<p>%1</p>").arg(text);
    const QSize icon = GetIconSize();
    return QStringLiteral("<table cellspacing=\"2\"><tr><td><img src=\"%1\" width=\"%2\" height=\"%3\"></td>"
                          "<td valign=\"middle\">%4</td></tr></table>")
        .arg(CSkinPicture::ResourcePath(record->m_nImageId))
        .arg(icon.width())
        .arg(icon.height())
        .arg(text);
}

void CToolTips::RelayEvent(QObject*, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
        if (QToolTip::isVisible()) QToolTip::hideText();
        break;
    default:
        break;
    }
}

bool CToolTips::IsTool(const QObject* object) const {
    for (const QPointer<QWidget>& window : m_toolWindows)
        if (window == object) return true;
    return false;
}

bool CToolTips::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ToolTip || !IsTool(watched)) return false;
    auto* window = static_cast<QWidget*>(watched);
    if (window->toolTip().isEmpty()) return false;
    const auto* help = static_cast<QHelpEvent*>(event);
    QToolTip::showText(help->globalPos(), PrepareTip(window), window);
    return true;
}

int SetupToolTips(CToolTips& tips, std::span<const ToolTableRow> rows, const ControlLookupFn& controlById) {
    while (!tips.m_toolWindows.isEmpty()) {
        QPointer<QWidget> window = tips.m_toolWindows.first();
        if (window)
            tips.DelTool(window);
        else
            tips.m_toolWindows.removeFirst();
    }
    tips.m_tools.clear();
    int registered = 0;
    for (const ToolTableRow& row : rows)
        registered += tips.AddTool(controlById(row.m_nCtrlId), LangText(row.m_nTextId)) ? 1 : 0;
    for (const ToolTableRow& row : rows)
        tips.m_tools.append({row.m_nCtrlId, 0, kToolTipImageId});
    return registered;
}

#include "user_message_box.h"

#include <QMessageBox>

namespace {

QMessageBox::StandardButtons ButtonsOf(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::kOkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::kYesNo:
        return QMessageBox::Yes | QMessageBox::No;
    default:
        return QMessageBox::Ok;
    }
}

} // namespace

bool ShowUserMessage(QWidget* parent, const UserMessage& message) {
    const QMessageBox::Icon icon =
        message.m_eIcon == MessageIcon::kExclamation ? QMessageBox::Warning : QMessageBox::NoIcon;
    QMessageBox box(icon, QString::fromStdString(message.m_strCaption),
                    QString::fromStdString(message.m_strText), ButtonsOf(message.m_eButtons), parent);
    // A question that removes files is answered No by Enter and by closing the box.
    if (message.m_eButtons == MessageButtons::kYesNo) {
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
    }
    if (!message.m_strDetails.empty()) box.setDetailedText(QString::fromStdString(message.m_strDetails));
    box.setAccessibleName(box.windowTitle());
    box.setAccessibleDescription(message.m_strDetails.empty() ? box.text()
                                                              : box.text() + u'\n' + box.detailedText());
    const int answer = box.exec();
    return answer == QMessageBox::Ok || answer == QMessageBox::Yes;
}

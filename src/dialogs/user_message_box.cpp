#include "user_message_box.h"

#include <QMessageBox>

bool ShowUserMessage(QWidget* parent, const UserMessage& message) {
    const QMessageBox::Icon icon =
        message.m_eIcon == MessageIcon::kExclamation ? QMessageBox::Warning : QMessageBox::NoIcon;
    const QMessageBox::StandardButtons buttons = message.m_eButtons == MessageButtons::kOkCancel
                                                     ? QMessageBox::Ok | QMessageBox::Cancel
                                                     : QMessageBox::StandardButtons(QMessageBox::Ok);
    QMessageBox box(icon, QString::fromStdString(message.m_strCaption),
                    QString::fromStdString(message.m_strText), buttons, parent);
    box.setAccessibleName(box.windowTitle());
    box.setAccessibleDescription(box.text());
    return box.exec() == QMessageBox::Ok;
}

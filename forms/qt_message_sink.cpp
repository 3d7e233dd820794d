#include "forms/qt_message_sink.h"

#include <QApplication>
#include <QMessageBox>

void QtMessageSink::Show(const std::string& text, MsgIcon icon, const std::string& title) {
    QMessageBox::Icon qicon = QMessageBox::NoIcon;
    switch (icon) {
        case MsgIcon::Error:
            qicon = QMessageBox::Critical;
            break;
        case MsgIcon::Exclamation:
            qicon = QMessageBox::Warning;
            break;
        case MsgIcon::Information:
            qicon = QMessageBox::Information;
            break;
        case MsgIcon::None:
            break;
    }
    QMessageBox box(qicon, QString::fromStdString(title), QString::fromStdString(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setObjectName("MsgBox");
    box.exec();
}

#include "MessageBoxPrompt.h"

#include <QMessageBox>

bool MessageBoxPrompt::message(const QString &title, const QString &text, Icon icon,
                               Buttons buttons) {
    QMessageBox box(parent_);
    box.setWindowTitle(title);
    QString body = text;
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box.setText(body);
    switch (icon) {
    case Icon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case Icon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Icon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    if (buttons == Buttons::OkCancel)
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    else
        box.setStandardButtons(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok;
}

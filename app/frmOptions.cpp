#include "frmOptions.h"

#include "mdlMain.h"

#include <QPushButton>

frmOptions::frmOptions(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QString::fromUtf8("Настройки"));
    mdlMain::FixWindow(this, 421, 256);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(225, 225, 91, 26);
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QString::fromUtf8("Отмена"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setGeometry(325, 225, 91, 26);
    cmdCancel->setAutoDefault(false);
    cmdCancel->setFocus();
}

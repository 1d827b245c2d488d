#include "frmOptions.h"

#include "FormToolkit.h"

#include <QPushButton>

frmOptions::frmOptions(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QString::fromUtf8("Настройки"));
    Shell::Form::FixWindow(this, 421, 256);

    cmdOK = Shell::Form::Button(this, "cmdOK", QStringLiteral("OK"), 225, 225);
    cmdOK->setDefault(true);
    cmdCancel = Shell::Form::Button(this, "cmdCancel", QString::fromUtf8("Отмена"), 325, 225);
    cmdCancel->setFocus();
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmOptions.h"

#include "FormToolkit.h"

#include <QPushButton>

namespace Form = Shell::Form;

frmOptions::frmOptions(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QString::fromUtf8("Настройки"));
    Form::FixWindow(this, 421, 256);

    cmdOK = Form::Button(this, "cmdOK", QStringLiteral("OK"), 225, 225);
    cmdOK->setDefault(true);
    cmdCancel = Form::Button(this, "cmdCancel", QString::fromUtf8("Отмена"), 325, 225);
    cmdCancel->setFocus();
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmAbout.h"

#include "FormToolkit.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace Form = Shell::Form;

frmAbout::frmAbout(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QString::fromUtf8("О программе"));
    Form::FixWindow(this, 421, 252);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    colours.setColor(QPalette::WindowText, Qt::black);
    setPalette(colours);
    setAutoFillBackground(true);

    Image1 = Form::Place(new QLabel(this), "Image1", 5, 10, 267, 44);
    Image1->setPixmap(QPixmap(QStringLiteral(":/morvik/banner.png")));

    Text1 = Form::Place(new QPlainTextEdit(this), "Text1", 5, 60, 411, 151);
    Text1->setReadOnly(true);
    Text1->setAccessibleName(QString::fromUtf8("Сведения о программе"));
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->setTabStopDistance(48); // a text box's tab stops: 32 dialog units
    Text1->setPlainText(AboutText().replace(QLatin1String("\r\n"), QLatin1String("\n")));

    cmdClose = Form::Button(this, "cmdClose", QString::fromUtf8("Закрыть"), 325, 220);
    cmdClose->setDefault(true);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    cmdClose->setFocus();
}

QString frmAbout::AboutText()
{
    // The project names no author and has neither a web site nor a mail
    // address of its own; the rows say so rather than invent any.
    return QString::fromUtf8("О программе:\r\n"
                             "\tАвтор\tразработчики проекта Morvik\r\n"
                             "\tВерсия\t1.00\r\n"
                             "\tРелиз\t1 ноября 2003 года\r\n"
                             "\r\n"
                             "Контакты:\r\n"
                             "\tInternet\tу проекта нет веб-сайта\r\n"
                             "\te-mail\tу проекта нет адреса электронной почты\r\n"
                             "\r\n"
                             "Библиотеки:\r\n"
                             "\tQuenlar, библиотека тегов ID3v1 проекта Morvik\r\n");
}

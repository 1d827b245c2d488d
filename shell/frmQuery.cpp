// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmQuery.h"

#include "FormToolkit.h"
#include "UserDialogs.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace Form = Shell::Form;
using Form::Place;

frmQuery::frmQuery(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmQuery"));
    setWindowTitle(QString::fromUtf8(Core::AppTitle));
    Form::FixWindow(this, 332, 166);

    intro_ << Place(new QLabel(QString::fromUtf8("Ошибка при попытке переименования файла"), this), "Label1", 5, 10);
    lblFName = Place(new QLabel(this), "lblFName", 5, 25, 321, 41);
    lblFName->setTextFormat(Qt::PlainText); // a file name is never markup
    lblFName->setWordWrap(true);
    lblFName->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    intro_ << lblFName
           << Place(new QLabel(QString::fromUtf8("Файл с заданным именем уже существует."), this), "Label2", 5, 70)
           << Place(new QLabel(QString::fromUtf8("Задайте другое имя файла."), this), "Label3", 5, 85);
    txtValue = Place(new QLineEdit(this), "txtValue", 5, 105, 321, 21);
    // The labels above are no caption of the field: a screen reader gets a
    // name, and the labels, with the file, as what the field is about.
    txtValue->setAccessibleName(QString::fromUtf8("Новое имя файла"));

    cmdOK = Form::Button(this, "cmdOK", QStringLiteral("OK"), 135, 135);
    cmdOK->setDefault(true);
    cmdCancel = Form::Button(this, "cmdCancel", QString::fromUtf8("Отмена"), 235, 135);

    // Escape reaches the window, where this filter sees it before the
    // window's blocker swallows it; every other key, wherever it goes,
    // breaks a pair of Escapes.
    for (QObject* watched : std::initializer_list<QObject*>{this, txtValue, cmdOK, cmdCancel})
        watched->installEventFilter(this);

    connect(txtValue, &QLineEdit::textChanged, this, &frmQuery::txtValue_Change);
    connect(cmdOK, &QPushButton::clicked, this, &frmQuery::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmQuery::reject);
    txtValue_Change();
    txtValue->setFocus();
}

void frmQuery::showEvent(QShowEvent* event)
{
    // lblFName is filled for each file before the prompt shows.
    QStringList lines;
    for (const QLabel* label : intro_)
        lines << label->text();
    txtValue->setAccessibleDescription(lines.join(QLatin1Char(' ')));
    QDialog::showEvent(event);
}

void frmQuery::txtValue_Change()
{
    cmdOK->setEnabled(!txtValue->text().isEmpty());
}

void frmQuery::cmdOK_Click()
{
    QueryResult = txtValue->text();
    CancelPressed = false;
    accept();
}

bool frmQuery::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const bool escape = static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
        if (!escape) {
            escapePressed_ = false;
        } else if (watched == this) {
            const bool second = escapePressed_;
            escapePressed_ = !second;
            if (second && OnEscapeTwice && OnEscapeTwice()) {
                reject();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmQuery::reject()
{
    QueryResult.clear();
    CancelPressed = true;
    QDialog::reject();
}

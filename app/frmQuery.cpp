#include "frmQuery.h"

#include "mdlMain.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QLabel* NewLabel(QWidget* parent, const char* name, const char* text, int x, int y)
{
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->adjustSize();
    label->move(x, y);
    return label;
}

} // namespace

frmQuery::frmQuery(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmQuery"));
    setWindowTitle(QString::fromUtf8(mdlMain::AppTitle));
    mdlMain::FixWindow(this, 332, 166);

    NewLabel(this, "Label1", "Ошибка при попытке переименования файла", 5, 10);
    lblFName = new QLabel(this);
    lblFName->setObjectName(QStringLiteral("lblFName"));
    lblFName->setTextFormat(Qt::PlainText); // a file name is never markup
    lblFName->setWordWrap(true);
    lblFName->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblFName->setGeometry(5, 25, 321, 41);
    NewLabel(this, "Label2", "Файл с заданным именем уже существует.", 5, 70);
    NewLabel(this, "Label3", "Задайте другое имя файла.", 5, 85);

    txtValue = new QLineEdit(this);
    txtValue->setObjectName(QStringLiteral("txtValue"));
    txtValue->setGeometry(5, 105, 321, 21);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(135, 135, 91, 26);
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QString::fromUtf8("Отмена"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setGeometry(235, 135, 91, 26);
    cmdCancel->setAutoDefault(false);

    connect(txtValue, &QLineEdit::textChanged, this, &frmQuery::txtValue_Change);
    connect(cmdOK, &QPushButton::clicked, this, &frmQuery::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmQuery::reject);
    txtValue_Change();
    txtValue->setFocus();
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

void frmQuery::reject()
{
    QueryResult.clear();
    CancelPressed = true;
    QDialog::reject();
}

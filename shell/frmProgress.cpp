#include "frmProgress.h"

#include "FormToolkit.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace Form = Shell::Form;
using Form::Place;

frmProgress::frmProgress(QWidget* owner, const QString& caption, std::function<void()> onStop)
    : QDialog(owner), onStop_(std::move(onStop))
{
    setObjectName(QStringLiteral("frmProgress"));
    setWindowTitle(caption);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(360, 100);
    lblFile = Place(new QLabel(this), "lblFile", 10, 10, 340, 16);
    lblFile->setTextFormat(Qt::PlainText); // a file name is never markup
    prgFiles = Place(new QProgressBar(this), "prgFiles", 10, 32, 340, 20);
    prgFiles->setMaximum(0);
    prgFiles->setFormat(QString::fromUtf8("%v из %m"));
    cmdStop = Form::Button(this, "cmdStop", QString::fromUtf8("Стоп"), 259, 64);
    cmdStop->setDefault(true);
    connect(cmdStop, &QPushButton::clicked, this, &frmProgress::reject);
}

void frmProgress::ShowProgress(int total, int done, const QString& fileName)
{
    prgFiles->setMaximum(total);
    prgFiles->setValue(done);
    const QString shown = lblFile->fontMetrics().elidedText(fileName, Qt::ElideMiddle, lblFile->width());
    if (lblFile->text() != shown)
        lblFile->setText(shown);
}

void frmProgress::reject()
{
    // The run stops between two files; until then the window stays.
    if (!cmdStop->isEnabled())
        return;
    cmdStop->setEnabled(false);
    if (onStop_)
        onStop_();
}

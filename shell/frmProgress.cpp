// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmProgress.h"

#include "FormToolkit.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace Form = Shell::Form;
using Form::Place;

namespace {

// The bar as a screen reader hears it: the numbers, and "N из M", as the bar
// shows it, for its value text (Qt's own gives the bare number).
class FilesBarAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit FilesBarAccessible(QProgressBar* bar) : QAccessibleWidget(bar, QAccessible::ProgressBar) {}
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ValueInterface ? static_cast<QAccessibleValueInterface*>(this)
                                                   : QAccessibleWidget::interface_cast(type);
    }
    // The description says it too: the desktop's bridge (AT-SPI) passes the
    // numbers of a value on, not its text.
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value || t == QAccessible::Description ? bar()->text() : QAccessibleWidget::text(t);
    }
    QVariant currentValue() const override { return bar()->value(); }
    void setCurrentValue(const QVariant&) override {} // read only
    QVariant maximumValue() const override { return bar()->maximum(); }
    QVariant minimumValue() const override { return bar()->minimum(); }
    QVariant minimumStepSize() const override { return 1; }

private:
    QProgressBar* bar() const { return static_cast<QProgressBar*>(widget()); }
};

QAccessibleInterface* FilesBarFactory(const QString&, QObject* object)
{
    auto* bar = qobject_cast<QProgressBar*>(object);
    if (bar && qobject_cast<frmProgress*>(bar->parent()))
        return new FilesBarAccessible(bar);
    return nullptr;
}

} // namespace

frmProgress::frmProgress(QWidget* owner, const QString& caption, std::function<void()> onStop)
    : QDialog(owner), onStop_(std::move(onStop))
{
    setObjectName(QStringLiteral("frmProgress"));
    static const bool factoryInstalled = (QAccessible::installFactory(FilesBarFactory), true);
    (void)factoryInstalled;
    // The tool's caption, and that it runs: a screen reader announces the window by it.
    setWindowTitle(caption + QString::fromUtf8(" — выполняется"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(360, 100);
    Form::KeepWindowFont(this);
    lblFile = Place(new QLabel(this), "lblFile", 10, 10, 340, 16);
    lblFile->setTextFormat(Qt::PlainText); // a file name is never markup
    prgFiles = Place(new QProgressBar(this), "prgFiles", 10, 32, 340, 20);
    prgFiles->setMaximum(0);
    prgFiles->setFormat(QString::fromUtf8("%v из %m"));
    prgFiles->setAccessibleName(QString::fromUtf8("Обработано файлов"));
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

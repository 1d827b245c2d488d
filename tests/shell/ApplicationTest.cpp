// SPDX-License-Identifier: GPL-3.0-or-later
// A failure that no window handles reaches the user as a message box and
// the program goes on. This program makes its own application object.
#include "Application.h"
#include "TMP3Tag.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class Failing : public QObject {
protected:
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::User)
            throw Quenlar::LibraryError(53, "TMP3Tag", "File not found");
        return QObject::event(event);
    }
};

} // namespace

TEST(ApplicationTest, AnUnhandledFailureIsReportedAndTheProgramGoesOn)
{
    int argc = 1;
    char name[] = "ApplicationTest";
    char* argv[] = {name, nullptr};
    Shell::Application app(argc, argv);

    QString seen;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            seen = box->text();
            box->button(QMessageBox::Ok)->click();
        }
    });
    answer.start(10);

    Failing failing;
    QEvent event(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&failing, &event));
    EXPECT_EQ(seen, QString::fromUtf8("Ошибка 53 (TMP3Tag)\nФайл не найден."));
}

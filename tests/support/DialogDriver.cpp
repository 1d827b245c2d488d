// SPDX-License-Identifier: GPL-3.0-or-later
#include "DialogDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>

namespace testing_support {

DialogDriver::DialogDriver(std::vector<Action> actions) : actions_(std::move(actions))
{
    connect(&timer_, &QTimer::timeout, this, &DialogDriver::Poll);
    timer_.start(10);
}

DialogDriver::~DialogDriver()
{
    timer_.stop();
}

bool DialogDriver::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Hide && watched == handled_.data())
        handled_ = nullptr;
    return QObject::eventFilter(watched, event);
}

void DialogDriver::Poll()
{
    if (busy_)
        return;
    QWidget* w = QApplication::activeModalWidget();
    if (!w || !w->isVisible() || w == handled_.data() || passOver_.contains(w->objectName()))
        return;
    busy_ = true;
    handled_ = w;
    w->installEventFilter(this);

    SeenDialog seen;
    seen.objectName = w->objectName();
    seen.title = w->windowTitle();
    if (auto* box = qobject_cast<QMessageBox*>(w)) {
        seen.text = box->text();
        seen.icon = box->icon();
        for (QAbstractButton* b : box->buttons())
            seen.buttons << b->text();
    } else {
        if (auto* l = w->findChild<QLabel*>("lblFName"))
            seen.text = l->text();
        if (auto* e = w->findChild<QLineEdit*>("txtValue"))
            seen.value = e->text();
    }

    if (next_ < actions_.size() && !broken_) {
        seen_.push_back(seen);
        const std::size_t index = next_++;
        Action a = actions_[index];
        a(w);
        // An action answers its dialog; one that returned early (a failed
        // ASSERT inside it) would leave the test waiting for its timeout.
        const bool mayStay
            = std::find(keepingOpen_.begin(), keepingOpen_.end(), index) != keepingOpen_.end();
        if (!mayStay && w->isVisible() && QApplication::activeModalWidget() == w) {
            ADD_FAILURE() << "the action for dialog \"" << seen.title.toStdString() << "\" left it open";
            broken_ = true;
            Dismiss(w);
        }
    } else {
        // Unexpected, or after a broken action: closed unanswered so that
        // the test goes on to its end and fails there.
        seen.unexpected = true;
        seen_.push_back(seen);
        Dismiss(w);
    }
    busy_ = false;
}

void DialogDriver::AddKeepingOpen(Action action)
{
    keepingOpen_.push_back(actions_.size());
    actions_.push_back(std::move(action));
}

void DialogDriver::Dismiss(QWidget* w)
{
    if (auto* d = qobject_cast<QDialog*>(w))
        d->reject();
    else
        w->close();
}

DialogDriver::Action Answer(QMessageBox::StandardButton button)
{
    return [button](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        QAbstractButton* b = box ? box->button(button) : nullptr;
        if (b)
            b->click();
        else if (auto* d = qobject_cast<QDialog*>(w))
            d->reject(); // not the box that was expected: the test sees it in Seen()
    };
}

DialogDriver::Action Click(const char* buttonObjectName)
{
    return [name = QString::fromUtf8(buttonObjectName)](QWidget* w) {
        if (auto* b = w->findChild<QAbstractButton*>(name))
            b->click();
        else if (auto* d = qobject_cast<QDialog*>(w))
            d->reject();
    };
}

DialogDriver::Action QueryAnswer(const QString& text)
{
    return [text](QWidget* w) {
        if (auto* e = w->findChild<QLineEdit*>("txtValue"))
            e->setText(text);
        if (auto* b = w->findChild<QAbstractButton*>("cmdOK"))
            b->click();
    };
}

namespace {

void PressReturnOn(QAbstractButton* button)
{
    if (!button)
        return; // the driver reports the dialog left open
    button->setFocus(Qt::TabFocusReason);
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : button;
    QTest::keyClick(target, Qt::Key_Return);
}

} // namespace

DialogDriver::Action ReturnOn(QMessageBox::StandardButton button)
{
    return [button](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        PressReturnOn(box ? box->button(button) : nullptr);
    };
}

DialogDriver::Action ReturnOn(const char* buttonObjectName)
{
    return [name = QString::fromUtf8(buttonObjectName)](QWidget* w) {
        PressReturnOn(w->findChild<QAbstractButton*>(name));
    };
}

DialogDriver::Action CloseBox()
{
    return [](QWidget* w) { w->close(); };
}

} // namespace testing_support

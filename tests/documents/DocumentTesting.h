// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the document and open-dialog tests share: a frame-like MDI area, files
// with and without a tag, and the dialogs a step put up.
#include "DialogDriver.h"
#include "TempDir.h"
#include "frmDocument.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <gtest/gtest.h>
#include <string>

namespace documents_testing {

using namespace testing_support;

// Text of a message box as shown: the program's "\r" line breaks are new lines.
inline QString Shown(const std::string& text)
{
    return QString::fromStdString(text).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

// Object names of the controls of window that Tab visits, starting at first.
inline QStringList TabOrder(const QWidget* window, QWidget* first)
{
    QStringList order;
    QWidget* w = first;
    do {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(window))
            order << w->objectName();
        w = w->nextInFocusChain();
    } while (w != first && window->isAncestorOf(w));
    return order;
}

class AreaTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        area.resize(900, 700);
        area.show();
    }

    // Lets posted closings and deletions happen.
    static void Settle()
    {
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    template <class W> static bool Gone(const QPointer<W>& window)
    {
        Settle();
        return window.isNull();
    }

    // A file of these bytes in dir, opened in a document window of area.
    frmDocument* OpenFile(const std::string& name, const std::string& bytes)
    {
        const std::string path = dir.Write(name, bytes);
        frmDocument* doc = frmDocument::Open(&area, path, name);
        EXPECT_NE(doc, nullptr);
        return doc;
    }

    TempDir dir;
    QMdiArea area;
};

} // namespace documents_testing

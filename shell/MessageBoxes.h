// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The message-box layer: every message box of the program, and the
// questions of the runs and documents answered with real dialogs.
#include "UserDialogs.h"

#include <QString>
#include <functional>
#include <memory>

class QWidget;

namespace Shell {

// The one function that makes a message box: text with "\r" as line
// breaks, a style value (16, 48, 64, 36, 35 or 52, plus 256 to make the
// second button the default) and a title; modal over owner
// (the active window when null). Returns vbOK, vbCancel, vbYes or vbNo.
// Windows ask through WindowDialogs.
int MsgBox(const QString& text, int style, const QString& title = QString::fromUtf8(Core::AppTitle),
           QWidget* owner = nullptr);

// The outermost window that owns window: for a document, a tool window or a
// dialog of the program, the frame. Null for null.
QWidget* FrameOf(QWidget* window);

// The busy pointer for as long as it lives: a batch run holds one, since it
// takes no input between its boxes. Every box and prompt of this module
// shows the normal pointer meanwhile and puts the busy one back after.
class BusyPointer {
public:
    BusyPointer();
    ~BusyPointer();
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
    // Whether a run holds one now.
    static bool Active();
};

// The normal pointer for as long as it lives, also while a run holds the
// busy one: every box and prompt of the program shows it, and so does the
// progress window. Nested ones put the busy pointer back once, at the end.
class NormalPointer {
public:
    NormalPointer();
    ~NormalPointer();
    NormalPointer(const NormalPointer&) = delete;
    NormalPointer& operator=(const NormalPointer&) = delete;
};

// UserDialogs answered by message boxes over owner (the active window when
// null) and by frmQuery over owner's frame.
class WindowDialogs : public Core::UserDialogs {
public:
    explicit WindowDialogs(QWidget* owner) : owner_(owner) {}
    int MsgBox(const std::string& text, int style, const std::string& title = Core::AppTitle) override;
    std::unique_ptr<Core::ValuePrompt> NewPrompt() override;

    // In a batch run, a user facing a series of prompts can stop the run
    // from one: Escape twice in a row calls askStop, and when it answers
    // true the prompt ends as Cancel.
    void StopFromPrompts(std::function<bool()> askStop) { askStop_ = std::move(askStop); }

private:
    QWidget* owner_;
    std::function<bool()> askStop_;
};

} // namespace Shell

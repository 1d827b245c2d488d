#pragma once
// The message-box layer: every message box of the program, and the
// questions of the runs and documents answered with real dialogs.
#include "UserDialogs.h"

#include "TMP3Tag.h"

#include <QString>
#include <memory>

class QWidget;

namespace mdlMain {

// Every message box of the program: text with "\r" as line breaks, a style
// value (16, 48, 64, 36 or 35) and a title; modal over owner (the active
// window when null). Returns vbOK, vbCancel, vbYes or vbNo.
int MsgBox(const QString& text, int style, const QString& title = QString::fromUtf8(AppTitle),
           QWidget* owner = nullptr);

// The frame window frmMDI while it exists (owner of prompts), else nullptr.
QWidget* FrameWindow();
void SetFrameWindow(QWidget* frame);

// A new tag object whose confirmation box, should anyone ask for it, is a
// message box of this module.
std::unique_ptr<Quenlar::_TMP3Tag> CreateTagObject();

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

// UserDialogs answered by message boxes over owner and by frmQuery over the
// frame.
class WindowDialogs : public UserDialogs {
public:
    explicit WindowDialogs(QWidget* owner) : owner_(owner) {}
    int MsgBox(const std::string& text, int style, const std::string& title = AppTitle) override;
    std::unique_ptr<ValuePrompt> NewPrompt() override;

private:
    QWidget* owner_;
};

} // namespace mdlMain

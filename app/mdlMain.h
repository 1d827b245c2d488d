#pragma once
// The program's main module: start-up, the two program-wide settings, the
// message-box layer and the application resources.
#include "UserDialogs.h"
#include "TMP3Tag.h"

#include <QApplication>
#include <QIcon>
#include <QString>
#include <memory>

class QWidget;

namespace mdlMain {

// Program-wide settings, set once at start-up.
extern unsigned char btAdvDefault;     // initial state of a document window's chkAdv
extern unsigned char btMDIWindowState; // 0 normal, 1 minimised, 2 maximised

// The start-up routine: sets the settings, loads and shows the frame and runs
// the event loop until the frame has closed. Returns the exit code. It lives
// with the real windows behind the frame's commands (Startup.cpp).
int Main(QApplication& app);

// Registers Tahoma with the font database, makes Tahoma 8.25 pt the
// application font and loads Qt's Russian button texts. The program and the
// window tests call it once after creating the QApplication.
void InstallResources(QApplication& app);

// The program's application object. A failure that nobody handled reaches
// the user as a message box instead of ending the program.
class Application : public QApplication {
public:
    Application(int& argc, char** argv) : QApplication(argc, argv) {}
    bool notify(QObject* receiver, QEvent* event) override;
};

// The text that reports a failure nobody handled.
QString FailureText(const std::exception& failure);

// The frame window frmMDI while it exists (owner of prompts), else nullptr.
QWidget* FrameWindow();
void SetFrameWindow(QWidget* frame);

// Every message box of the program: text with "\r" as line breaks, a style
// value (16, 48, 64, 36 or 35) and a title; modal over owner (the active
// window when null). Returns vbOK, vbCancel, vbYes or vbNo.
int MsgBox(const QString& text, int style, const QString& title = QString::fromUtf8(AppTitle),
           QWidget* owner = nullptr);

// The program's artwork from its resources.
QIcon FrameIcon();
QIcon DocumentIcon();

// Makes window a fixed-size dialog window of clientWidth x clientHeight
// pixels without minimise and maximise boxes, on which Esc does nothing
// (no window of the program binds Esc). Qt centres a dialog over its owner.
void FixWindow(QWidget* window, int clientWidth, int clientHeight);

// A new tag object whose confirmation box, should anyone ask for it, is a
// message box of this module.
std::unique_ptr<Quenlar::_TMP3Tag> CreateTagObject();

// UserDialogs answered by message boxes over owner and by frmQuery owned by
// the frame.
class WindowDialogs : public UserDialogs {
public:
    explicit WindowDialogs(QWidget* owner) : owner_(owner) {}
    int MsgBox(const std::string& text, int style, const std::string& title = AppTitle) override;
    std::unique_ptr<ValuePrompt> NewPrompt() override;

private:
    QWidget* owner_;
};

// Conversions at the edge between widgets (QString) and logic (UTF-8).
inline std::string U8(const QString& s) { return s.toStdString(); }
inline QString Q(const std::string& s) { return QString::fromStdString(s); }

} // namespace mdlMain

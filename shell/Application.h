// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's application object and the resources it installs.
#include <QApplication>
#include <QIcon>
#include <QString>
#include <exception>

namespace Shell {

// A failure that nobody handled reaches the user as a message box instead of
// ending the program.
class Application : public QApplication {
public:
    Application(int& argc, char** argv) : QApplication(argc, argv) {}
    bool notify(QObject* receiver, QEvent* event) override;
};

// The text that reports a failure nobody handled.
QString FailureText(const std::exception& failure);

// Registers Tahoma with the font database, makes Tahoma 8.25 pt the
// application font, loads Qt's Russian texts and names the menu bar's
// entries for screen readers. The program and the
// window tests call it once after creating the QApplication.
void InstallResources(QApplication& app);

// The program's artwork from its resources.
QIcon FrameIcon();
QIcon DocumentIcon();

} // namespace Shell

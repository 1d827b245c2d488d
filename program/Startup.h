// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The start-up routine: the only code that knows both the document windows
// and the batch tools, and hands them to the frame.
#include <QApplication>
#include <memory>
#include <string>
#include <vector>

class frmMDI;

namespace Program {

// A new, hidden frame (maximised from btMDIWindowState) whose Open, Fill
// tags, Rename files and Recode tags commands open the open dialog and the
// batch tools, and whose dropped files open as documents.
std::unique_ptr<frmMDI> LoadFrame();

// The files named on the command line, in order: each argument is a path
// (bytes, as the system gave them); a relative one is taken from folder.
std::vector<std::string> FilesFromArguments(const std::vector<std::string>& arguments,
                                            const std::string& folder);

// Sets the settings, loads and shows the frame, then opens the files that
// arguments (the command line less the program and Qt's own options) name,
// each in its own document window.
std::unique_ptr<frmMDI> Start(const std::vector<std::string>& arguments);

// Start, then the event loop until the frame has closed. Returns the exit
// code.
int Main(QApplication& app, const std::vector<std::string>& arguments = {});

} // namespace Program

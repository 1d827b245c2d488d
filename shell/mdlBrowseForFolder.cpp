// SPDX-License-Identifier: GPL-3.0-or-later
#include "mdlBrowseForFolder.h"

#include "FileSystem.h"
#include "MessageBoxes.h"
#include "QtText.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>

namespace mdlBrowseForFolder {

namespace {

Chooser chooserForTests;

// Qt's own dialog rather than the desktop's, so that it looks the same
// everywhere and tests can drive it. File-system folders are all it offers,
// which is what the one flag in use asks for.
QString ChooseWithDialog(QWidget* owner, const QString& prompt, unsigned /*flags*/)
{
    QFileDialog dialog(owner, prompt, QDir::homePath());
    dialog.setObjectName(QStringLiteral("dlgBrowseForFolder"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    dialog.setWindowModality(Qt::WindowModal);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString BrowseForFolder(QWidget* hwndOwner, const QString& sPrompt, unsigned ulFlags)
{
    QString path = chooserForTests ? chooserForTests(hwndOwner, sPrompt, ulFlags)
                                   : ChooseWithDialog(hwndOwner, sPrompt, ulFlags);
    if (!path.isEmpty() && !path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

std::string FolderBytes(QWidget* owner, const QString& folder)
{
    const std::string bytes = QFile::encodeName(folder).toStdString();
    const std::int32_t attributes = Core::Platform::GetFileAttributesA(bytes);
    QString problem;
    if (folder.contains(QChar::ReplacementCharacter))
        problem = QStringLiteral("Имя папки %1 не удаётся передать системе без искажений.\r\r"
                                 "Переименуйте папку или выберите другую.");
    else if (attributes == Core::Platform::faInvalid || !(attributes & Core::Platform::faDirectory))
        problem = QStringLiteral("Папка %1 не найдена.");
    if (problem.isEmpty())
        return bytes;
    Shell::WindowDialogs(owner).MsgBox(Shell::U8(problem.arg(folder)), Core::vbCritical);
    return std::string();
}

void SetChooserForTests(Chooser chooser)
{
    chooserForTests = std::move(chooser);
}

} // namespace mdlBrowseForFolder

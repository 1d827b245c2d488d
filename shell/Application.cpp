// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application.h"

#include "AccessibleMenus.h"
#include "FormToolkit.h"
#include "MessageBoxes.h"
#include "QtText.h"
#include "TMP3Tag.h"
#include "TagObjects.h"

#include <QFile>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QTranslator>

// Qt resources of a static library are only linked in when named.
static void InitArtwork()
{
    Q_INIT_RESOURCE(morvik);
}

namespace Shell {

namespace {
const char* const TahomaFiles[] = {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"};
} // namespace

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& failure) {
        WindowDialogs(nullptr).MsgBox(U8(FailureText(failure)), Core::vbCritical);
    } catch (...) {
        WindowDialogs(nullptr).MsgBox(U8(FailureText(std::runtime_error("unknown failure"))), Core::vbCritical);
    }
    return false;
}

QString FailureText(const std::exception& failure)
{
    if (const auto* error = dynamic_cast<const Quenlar::LibraryError*>(&failure))
        return QString::fromUtf8("Ошибка %1 (%2)").arg(error->Number()).arg(Q(error->Source())) + QLatin1Char('\r') +
               Q(Core::LibraryErrorText(*error));
    return QString::fromUtf8("Непредвиденная ошибка") + QLatin1Char('\r') + QString::fromUtf8(failure.what());
}

void InstallResources(QApplication& app)
{
    InitArtwork();
    for (const char* file : TahomaFiles)
        if (QFile::exists(QString::fromLatin1(file)))
            QFontDatabase::addApplicationFont(QString::fromLatin1(file));
    // A platform theme may set its own application font later (qt6ct does,
    // once the event loop runs); every window keeps this one of its own.
    app.setFont(Form::WindowFont());

    auto translator = std::make_unique<QTranslator>();
    if (translator->load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        app.installTranslator(translator.get());
        translator.release()->setParent(&app);
    } // else English button texts rather than none

    app.setWindowIcon(FrameIcon());
    NameMenuBarEntries();
}

QIcon FrameIcon()
{
    QIcon icon(QStringLiteral(":/morvik/frame_32.png"));
    icon.addFile(QStringLiteral(":/morvik/frame_256.png"));
    return icon;
}

QIcon DocumentIcon()
{
    QIcon icon(QStringLiteral(":/morvik/document_16.png"));
    icon.addFile(QStringLiteral(":/morvik/document_32.png"));
    return icon;
}

} // namespace Shell

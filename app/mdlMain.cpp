#include "mdlMain.h"

#include "TagObjects.h"
#include "frmQuery.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTranslator>

// Qt resources of a static library are only linked in when named.
static void InitArtwork()
{
    Q_INIT_RESOURCE(morvik);
}

namespace mdlMain {

unsigned char btAdvDefault = 0;
unsigned char btMDIWindowState = 2;

namespace {

QPointer<QWidget> frameWindow;

const char* const TahomaFiles[] = {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"};

// Qt's dialogs close or answer on Esc; no window of the program binds it.
class EscapeBlocker : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            return true;
        return QObject::eventFilter(watched, event);
    }
};

void BlockEscape(QWidget* window)
{
    window->installEventFilter(new EscapeBlocker(window));
}

struct BoxStyle {
    QMessageBox::Icon icon;
    QList<QMessageBox::StandardButton> buttons; // the first is the default
};

BoxStyle StyleOf(int style)
{
    BoxStyle s;
    switch (style & 0x70) {
    case 16: s.icon = QMessageBox::Critical; break;
    case 32: s.icon = QMessageBox::Question; break;
    case 48: s.icon = QMessageBox::Warning; break;
    case 64: s.icon = QMessageBox::Information; break;
    default: s.icon = QMessageBox::NoIcon; break;
    }
    switch (style & 0x07) {
    case 3: s.buttons = {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel}; break;
    case 4: s.buttons = {QMessageBox::Yes, QMessageBox::No}; break;
    default: s.buttons = {QMessageBox::Ok}; break;
    }
    return s;
}

int ResultOf(QMessageBox::StandardButton button, const BoxStyle& style)
{
    switch (button) {
    case QMessageBox::Yes: return vbYes;
    case QMessageBox::No: return vbNo;
    case QMessageBox::Cancel: return vbCancel;
    case QMessageBox::Ok: return vbOK;
    default: break;
    }
    // Dismissed without a button: the most cautious answer the box offers.
    if (style.buttons.contains(QMessageBox::Cancel))
        return vbCancel;
    return style.buttons.contains(QMessageBox::No) ? vbNo : vbOK;
}

// frmQuery behind the ValuePrompt interface, loaded for one file.
class QueryPrompt : public ValuePrompt {
public:
    explicit QueryPrompt(QWidget* owner) : form_(new frmQuery(owner)) {}
    ~QueryPrompt() override { delete form_.data(); } // the owner may have taken it already

    std::string Ask(const std::string& path, const std::string& proposal) override
    {
        form_->lblFName->setText(Q(path));
        form_->txtValue->setText(Q(proposal));
        form_->txtValue->setSelection(0, form_->txtValue->text().size());
        form_->exec();
        return U8(form_->QueryResult);
    }
    bool CancelPressed() const override { return !form_ || form_->CancelPressed; }

private:
    QPointer<frmQuery> form_;
};

} // namespace

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& failure) {
        MsgBox(FailureText(failure), vbCritical);
    } catch (...) {
        MsgBox(FailureText(std::runtime_error("unknown failure")), vbCritical);
    }
    return false;
}

QString FailureText(const std::exception& failure)
{
    if (const auto* error = dynamic_cast<const Quenlar::LibraryError*>(&failure))
        return QString::fromUtf8("Ошибка %1 (%2)").arg(error->Number()).arg(Q(error->Source())) + QLatin1Char('\r') +
               Q(error->Description());
    return QString::fromUtf8("Непредвиденная ошибка") + QLatin1Char('\r') + QString::fromUtf8(failure.what());
}

void InstallResources(QApplication& app)
{
    InitArtwork();
    for (const char* file : TahomaFiles)
        if (QFile::exists(QString::fromLatin1(file)))
            QFontDatabase::addApplicationFont(QString::fromLatin1(file));
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(8.25);
    app.setFont(font);

    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(translator);
    else
        delete translator; // English button texts rather than none

    app.setWindowIcon(FrameIcon());
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

void FixWindow(QWidget* window, int clientWidth, int clientHeight)
{
    window->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    window->setFixedSize(clientWidth, clientHeight);
    BlockEscape(window);
}

QWidget* FrameWindow()
{
    return frameWindow.data();
}

void SetFrameWindow(QWidget* frame)
{
    frameWindow = frame;
}

int MsgBox(const QString& text, int style, const QString& title, QWidget* owner)
{
    const BoxStyle s = StyleOf(style);
    QMessageBox box(owner ? owner : QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setIcon(s.icon);
    box.setTextFormat(Qt::PlainText); // paths and tag texts are never markup
    box.setText(QString(text).replace(QLatin1Char('\r'), QLatin1Char('\n')));
    for (QMessageBox::StandardButton b : s.buttons)
        box.addButton(b)->setAutoDefault(false);
    box.setDefaultButton(s.buttons.first());
    BlockEscape(&box);
    box.exec();
    return ResultOf(box.standardButton(box.clickedButton()), s);
}

std::unique_ptr<Quenlar::_TMP3Tag> CreateTagObject()
{
    return NewTagObject([](const std::string& caption, const std::string& message) {
        return MsgBox(Q(message), vbYesNoQuestion, Q(caption)) == vbYes;
    });
}

int WindowDialogs::MsgBox(const std::string& text, int style, const std::string& title)
{
    return mdlMain::MsgBox(Q(text), style, Q(title), owner_);
}

std::unique_ptr<ValuePrompt> WindowDialogs::NewPrompt()
{
    return std::make_unique<QueryPrompt>(FrameWindow() ? FrameWindow() : owner_);
}

} // namespace mdlMain

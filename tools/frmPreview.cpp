// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmPreview.h"

#include "BackgroundRun.h"
#include "BatchRun.h"
#include "Codepage.h"
#include "FileNames.h"
#include "FormToolkit.h"
#include "Paths.h"
#include "QtText.h"
#include "TagObjects.h"
#include "WindowTagObjects.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QTableView>
#include <QTimer>
#include <unordered_set>

namespace Form = Shell::Form;
using Form::Place;
using Shell::Q;
using Shell::U8;

namespace {

constexpr int kWidth = 700, kHeight = 420;
constexpr int kApplyWidth = 121; // "Применить (1000000)" fits
constexpr std::size_t kLongSettle = 100000; // rows from which a tick or a name shows the busy pointer

// A text from a file or a tag as one line of a cell: a line break or tab
// in a name or a tag must not pass for the layout of the list.
QString OneLine(QString text)
{
    for (QChar& c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QChar(0xFFFD);
    return text;
}

bool IsRecord(const std::array<char, 128>& bytes)
{
    return bytes[0] == 'T' && bytes[1] == 'A' && bytes[2] == 'G';
}

// Where each field lies in the 128 bytes of a record.
struct Span {
    std::size_t from, width;
};
Span SpanOf(frmPreview::Field field)
{
    switch (field) {
    case frmPreview::Field::Title: return {3, 30};
    case frmPreview::Field::Artist: return {33, 30};
    case frmPreview::Field::Album: return {63, 30};
    case frmPreview::Field::Year: return {93, 4};
    case frmPreview::Field::Comment: return {97, 30};
    case frmPreview::Field::Genre: break;
    }
    return {127, 1};
}

// The field's bytes up to the first NUL.
std::string_view FieldBytes(const std::array<char, 128>& record, frmPreview::Field field)
{
    const Span span = SpanOf(field);
    const std::string_view bytes(record.data() + span.from, span.width);
    return bytes.substr(0, bytes.find('\0'));
}

// The field as the user reads it: the genre by its name (its number when it
// has none), the texts decoded from Windows-1251.
QString FieldText(const std::array<char, 128>& record, frmPreview::Field field, const Quenlar::_TMP3Tag& genres)
{
    if (field == frmPreview::Field::Genre) {
        const auto id = static_cast<std::uint8_t>(record[127]);
        const std::string name = genres.GenreIDToName(id);
        return !name.empty() || id == 255 ? Q(name) : QString::number(id);
    }
    return OneLine(Q(Quenlar::Codepage::Decode(FieldBytes(record, field))));
}

// A rename's new name as it is shown and typed: below the file's own folder.
std::string ShownTarget(const Core::PlanRow& row)
{
    const std::string folder = Core::GetFolder(row.path);
    if (row.target.compare(0, folder.size(), folder) == 0)
        return row.target.substr(folder.size());
    return row.target;
}

bool NameMayBeTyped(Core::RowState state)
{
    return state == Core::RowState::Taken || state == Core::RowState::SameTarget;
}

} // namespace

// The plan as rows of the list, in the order the preview shows them. Every
// text is made when the view asks for it, so that a million rows cost no
// more than the plan itself.
class frmPreview::Model : public QAbstractTableModel {
public:
    // The model shares the plan, so that the view may still ask it while the window goes.
    Model(QObject* parent, std::shared_ptr<Core::Plan> plan, std::vector<PreviewColumn> columns)
        : QAbstractTableModel(parent), plan_(std::move(plan)), order_(Core::ShowingOrder(*plan_)),
          columns_(std::move(columns))
    {
    }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(order_.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(columns_.size()) + 2;
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        if (section == 0)
            return QStringLiteral("Файл");
        if (IsJobColumn(section))
            return columns_[section - 1].caption;
        return QStringLiteral("Состояние");
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid())
            return {};
        const Core::PlanRow& row = plan_->rows[order_[index.row()]];
        const int column = index.column();
        if (role == Qt::CheckStateRole)
            return column == 0 ? QVariant(row.ticked ? Qt::Checked : Qt::Unchecked) : QVariant();
        if (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::ToolTipRole)
            return {};
        if (column == 0)
            return OneLine(Q(Core::Readable(Core::FileName(row.path))));
        if (IsJobColumn(column))
            return columns_[column - 1].text(row);
        return OneLine(Q(Core::Readable(row.StateText())));
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        if (!index.isValid())
            return Qt::NoItemFlags;
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        const std::size_t at = order_[index.row()];
        const Core::PlanRow& row = plan_->rows[at];
        if (index.column() == 0 && Core::Tickable(row.state))
            flags |= Qt::ItemIsUserCheckable;
        if (IsJobColumn(index.column()) && columns_[index.column() - 1].newName
            && (NameMayBeTyped(row.state) || typed_.count(at)))
            flags |= Qt::ItemIsEditable;
        return flags;
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        if (!index.isValid() || !(flags(index) & (role == Qt::CheckStateRole ? Qt::ItemIsUserCheckable
                                                                               : Qt::ItemIsEditable)))
            return false;
        const std::size_t at = order_[index.row()];
        // A rename plan settles its names again: a second or more for a
        // million files, which the pointer should say.
        const bool slow = plan_->rows.size() >= kLongSettle;
        if (slow)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        const auto normal = qScopeGuard([slow] {
            if (slow)
                QApplication::restoreOverrideCursor();
        });
        if (role == Qt::CheckStateRole && index.column() == 0) {
            Core::SetTicked(*plan_, at, value.toInt() == Qt::Checked);
        } else if (role == Qt::EditRole) {
            const QString typed = value.toString();
            const Core::PlanRow& row = plan_->rows[at];
            const std::string shown = ShownTarget(row);
            // Nothing typed, or the name as it stood: the row stays as it is.
            if (typed.trimmed().isEmpty() || typed == OneLine(Q(Core::Readable(shown))))
                return false;
            Core::Retarget(*plan_, at, Core::BytesOfEdit(U8(typed), shown));
            typed_.insert(at); // the user may type again what they typed
        } else {
            return false;
        }
        // A tick or a name can change the state of any other row of a rename.
        emit dataChanged(this->index(0, 0), this->index(rowCount() - 1, columnCount() - 1));
        return true;
    }

private:
    bool IsJobColumn(int section) const { return section >= 1 && section <= static_cast<int>(columns_.size()); }

    const std::shared_ptr<Core::Plan> plan_;
    const std::vector<std::size_t> order_;
    const std::vector<PreviewColumn> columns_;
    std::unordered_set<std::size_t> typed_; // rows whose new name the user typed
};

frmPreview::frmPreview(QWidget* owner, const QString& caption, std::shared_ptr<Core::Plan> plan,
                       std::shared_ptr<Core::PlanJob> job, std::vector<PreviewColumn> columns,
                       std::function<std::unique_ptr<Quenlar::_TMP3Tag>()> makeTag)
    : QDialog(owner), plan_(std::move(plan)), job_(std::move(job)), makeTag_(std::move(makeTag)), caption_(caption)
{
    setObjectName(QStringLiteral("frmPreview"));
    setWindowTitle(caption + QStringLiteral(" — просмотр"));
    setAttribute(Qt::WA_DeleteOnClose);
    // Resizable, unlike the fixed forms: long names and many columns.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                   | Qt::WindowMaximizeButtonHint);
    Form::IgnoreEscape(this);
    Form::KeepWindowFont(this);
    setMinimumSize(420, 240);
    resize(kWidth, kHeight);

    lvwPlan = Place(new QTableView(this), "lvwPlan", 10, 10, kWidth - 20, kHeight - 82);
    lvwPlan->setAccessibleName(QStringLiteral("Файлы и что с ними будет"));
    const std::size_t jobColumns = columns.size();
    std::vector<bool> nameColumn;
    for (const PreviewColumn& column : columns)
        nameColumn.push_back(column.newName);
    model_ = new Model(this, plan_, std::move(columns));
    lvwPlan->setModel(model_);
    // One height for every row and no per-row measuring: a million rows
    // open and scroll as a hundred do.
    lvwPlan->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    lvwPlan->verticalHeader()->setDefaultSectionSize(lvwPlan->fontMetrics().height() + 6);
    lvwPlan->verticalHeader()->hide();
    lvwPlan->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    lvwPlan->horizontalHeader()->setStretchLastSection(true);
    lvwPlan->horizontalHeader()->setHighlightSections(false);
    lvwPlan->setColumnWidth(0, 200);
    for (std::size_t i = 0; i < jobColumns; ++i)
        lvwPlan->setColumnWidth(static_cast<int>(i) + 1, nameColumn[i] ? 200 : 150);
    lvwPlan->setWordWrap(false);
    lvwPlan->setTextElideMode(Qt::ElideMiddle);
    lvwPlan->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvwPlan->setSelectionMode(QAbstractItemView::SingleSelection);
    lvwPlan->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                             | QAbstractItemView::SelectedClicked);
    lvwPlan->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    if (model_->rowCount() > 0)
        lvwPlan->setCurrentIndex(model_->index(0, 0));

    lblSummary = Place(new QLabel(this), "lblSummary", 10, kHeight - 64, kWidth - 20, 16);
    lblSummary->setTextFormat(Qt::PlainText);
    cmdApply = Place(new QPushButton(QStringLiteral("Применить"), this), "cmdApply", kWidth - 101 - 6 - kApplyWidth,
                     kHeight - 36, kApplyWidth, 26);
    cmdClose = Form::Button(this, "cmdClose", QStringLiteral("Закрыть"), kWidth - 101, kHeight - 36);
    // Return in the list closes rather than carries out: the safe default.
    cmdClose->setDefault(true);
    Form::TabOrder({lvwPlan, cmdApply, cmdClose});

    connect(model_, &QAbstractItemModel::dataChanged, this, &frmPreview::UpdateSummary);
    connect(cmdApply, &QPushButton::clicked, this, &frmPreview::cmdApply_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
    UpdateSummary();
}

frmPreview::~frmPreview() = default;

void frmPreview::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    const int w = width(), h = height();
    lvwPlan->setGeometry(10, 10, w - 20, h - 82);
    lblSummary->setGeometry(10, h - 64, w - 20, 16);
    cmdApply->move(w - 101 - 6 - kApplyWidth, h - 36);
    cmdClose->move(w - 101, h - 36);
}

void frmPreview::UpdateSummary()
{
    const Core::PlanCounts counts = Core::CountRows(*plan_);
    lblSummary->setText(QStringLiteral("Изменится: %1, без изменений: %2, не изменится: %3")
                            .arg(counts.ticked)
                            .arg(counts.unchanged)
                            .arg(counts.left));
    cmdApply->setText(counts.ticked ? QStringLiteral("Применить (%1)").arg(counts.ticked)
                                    : QStringLiteral("Применить"));
    cmdApply->setEnabled(counts.ticked > 0);
}

void frmPreview::cmdApply_Click()
{
    if (Core::CountRows(*plan_).ticked == 0)
        return;
    // The plan is carried out once; whatever the run's end, what the list
    // shows is no longer true, so the window goes.
    const auto closing = qScopeGuard([this] { close(); });
    Shell::RunInBackground(this, caption_, Core::NewApplyRun(plan_, job_, makeTag_()));
}

void frmPreview::closeEvent(QCloseEvent* event)
{
    if (Shell::PutOffCloseForRun(this)) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
    // Back to the tool window's button once this window has gone.
    if (QPointer<QWidget> owner = parentWidget())
        QTimer::singleShot(0, owner, [owner] {
            if (owner)
                Form::GiveFocus(owner->focusWidget() ? owner->focusWidget() : owner.data());
        });
}

std::vector<PreviewColumn> frmPreview::FieldColumns(const std::vector<std::pair<Field, QString>>& fields)
{
    // Genre names come from a tag object of the columns' own, not the run's.
    const std::shared_ptr<const Quenlar::_TMP3Tag> genres = Core::NewTagObject();
    std::vector<PreviewColumn> columns;
    for (const auto& [field, caption] : fields) {
        columns.push_back({caption, [field, genres](const Core::PlanRow& row) {
                               const bool had = !row.appends && IsRecord(row.seen.last);
                               const QString before = had ? FieldText(row.seen.last, field, *genres) : QString();
                               if (!IsRecord(row.record))
                                   return before; // nothing planned: what the file holds
                               const QString after = FieldText(row.record, field, *genres);
                               if (had && FieldBytes(row.seen.last, field) == FieldBytes(row.record, field))
                                   return after;
                               if (!had && after.isEmpty())
                                   return QString();
                               return (before.isEmpty() ? QString() : before + ' ') + QStringLiteral("→ ") + after;
                           }});
    }
    return columns;
}

PreviewColumn frmPreview::NewNameColumn()
{
    PreviewColumn column;
    column.caption = QStringLiteral("Новое имя");
    column.text = [](const Core::PlanRow& row) {
        return row.target.empty() ? QString() : OneLine(Q(Core::Readable(ShownTarget(row))));
    };
    column.newName = true;
    return column;
}

void ShowPreview(QWidget* owner, const QString& caption, const std::string& folder,
                 std::shared_ptr<Core::PlanJob> job, std::vector<PreviewColumn> columns)
{
    const auto made = std::make_shared<std::unique_ptr<Core::Plan>>();
    const QPointer<QWidget> over(owner);
    Shell::RunInBackground(owner, caption, Core::NewPlanRun(folder, job, Shell::CreateTagObject(), made));
    // A stopped plan is not shown: "Стоп", or the tool window or the frame
    // closed meanwhile, ends the preview, and half a folder's plan could
    // pass for the whole.
    if (!*made || (*made)->stopped || !over)
        return;
    std::shared_ptr<Core::Plan> plan = std::move(*made);
    auto* preview = new frmPreview(owner, caption, std::move(plan), std::move(job), std::move(columns),
                                   [] { return Shell::CreateTagObject(); });
    preview->setWindowModality(Qt::WindowModal);
    preview->show();
}

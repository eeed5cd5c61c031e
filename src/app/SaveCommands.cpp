// The save commands of the application: the list's rows in the format the save dialog's
// filter or the file's extension asks for, and a member's events of chosen days.
#include <QFile>
#include <QStringList>

#include "app/CTalvoraApp.h"
#include "database/EventRecord.h"
#include "export/ExportText.h"
#include "export/PeriodExport.h"
#include "search/DateRange.h"
#include "text/ShiftJis.h"
#include "ui/controls/CPeriodSaveDialog.h"
#include "ui/controls/Prompts.h"
#include "ui/controls/WaitCursor.h"
#include "ui/frame/CMainFrame.h"
#include "ui/list/CTalvoraView.h"
#include "ui/tree/CLeftView.h"

namespace {

// Filter string 61458 of the save dialog, then the other formats in the order of
// kFilterFormats.
const char kTextFileFilter[] = "テキスト ファイル (*.txt)|*.txt| すべてのファイル (*.*) |*.*|";
const char kOtherFormatFilters[] =
    "CSV ファイル (*.csv)|*.csv|JSON ファイル (*.json)|*.json|"
    "JSON Lines ファイル (*.jsonl)|*.jsonl|HTML ファイル (*.html)|*.html|"
    "SQLite データベース (*.sqlite)|*.sqlite|";
constexpr ExportFormat kFilterFormats[] = {
    ExportFormat::Text,      ExportFormat::Text, ExportFormat::Csv,   ExportFormat::Json,
    ExportFormat::JsonLines, ExportFormat::Html, ExportFormat::Sqlite};

std::string PathBytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// A name's own extension decides; a name without a known one is written in the format of
// the chosen filter; the text filters and "all files" give text.
ExportFormat ChosenFormat(const QString& path, const QString& filter, const QString& filters) {
    if (const auto byName = ExportFormatForFileName(PathBytes(path))) {
        return *byName;
    }
    const qsizetype index = filters.split(QStringLiteral(";;")).indexOf(filter);
    if (index >= 0 && index < static_cast<qsizetype>(std::size(kFilterFormats))) {
        return kFilterFormats[index];
    }
    return ExportFormat::Text;
}

// The formats of the period dialog, each with its filter of the file chooser.
struct PeriodFormat {
    ExportFormat format;
    const char* filter;
    const char* suffix;
};
constexpr PeriodFormat kPeriodFormats[] = {
    {ExportFormat::Text, "テキスト ファイル (*.txt)", "txt"},
    {ExportFormat::Csv, "CSV ファイル (*.csv)", "csv"},
    {ExportFormat::Json, "JSON ファイル (*.json)", "json"},
    {ExportFormat::JsonLines, "JSON Lines ファイル (*.jsonl)", "jsonl"},
    {ExportFormat::Html, "HTML ファイル (*.html)", "html"},
};
const char kAllFilesFilter[] = "すべてのファイル (*.*)";

QDate DateOf(const EventRecord& record) {
    return {record.time.tm_year + 1900, record.time.tm_mon + 1, record.time.tm_mday};
}

// The days of a member's first and last events in its list; invalid dates when it has none.
std::pair<QDate, QDate> MemberDays(MessageDatabase& db, std::int32_t key) {
    const std::int32_t count = db.EventCount(key);
    EventRecord record;
    QDate first;
    QDate last;
    if (count > 0 && db.ReadEvent(key, 0, record)) {
        first = DateOf(record);
    }
    if (count > 0 && db.ReadEvent(key, count - 1, record)) {
        last = DateOf(record);
    }
    if (first.isValid() && last.isValid() && last < first) {
        std::swap(first, last);
    }
    return {first, last};
}

// A failed save is told, unless a quit signal ended it: the program is on its way out, no
// one to tell.
void ReportSaveFailure(Prompts& prompts, QWidget* parent, const QString& path,
                       const ExportResult& result) {
    if (result.ok || result.failure.kind == OutputFailure::Kind::Interrupted) {
        return;
    }
    prompts.Message(parent, QStringLiteral("Talvora"),
                    QStringLiteral("ファイルに保存できませんでした。\n%1\n%2")
                        .arg(path, QString::fromStdString(OutputFailureReasonJa(result.failure))),
                    Prompts::Icon::Stop, QMessageBox::Ok);
}

// A failure is told as every save's is; so is how many files a split made, for their names
// are not the one chosen.
void ReportPeriodSave(Prompts& prompts, QWidget* parent, const QString& path, ExportSplit split,
                      const ExportResult& result, int files) {
    if (!result.ok) {
        ReportSaveFailure(prompts, parent, path, result);
        return;
    }
    if (split != ExportSplit::None) {
        prompts.Message(parent, QStringLiteral("Talvora"),
                        files == 0 ? QStringLiteral("指定した期間のログはありません。")
                                   : QStringLiteral("%1 個のファイルに保存しました。").arg(files),
                        Prompts::Icon::Information, QMessageBox::Ok);
    }
}

ExportColors ColorsOf(const ListColors& colors) {
    return {colors.sendBackground, colors.sendText, colors.receiveBackground, colors.receiveText};
}

}  // namespace

void CTalvoraApp::SaveDisplayedAsText() {
    SaveAsText(false);
}

void CTalvoraApp::SaveSelectedAsText() {
    SaveAsText(true);
}

void CTalvoraApp::SaveAsText(bool selectedOnly) {
    CTalvoraView* list = listView();
    if (!list->hasMember()) {
        return;
    }
    const QString filters = QtFilterFromResource(QString::fromUtf8(kTextFileFilter)) +
                            QStringLiteral(";;") +
                            QtFilterFromResource(QString::fromUtf8(kOtherFormatFilters));
    QString filter;
    const auto path = prompts_.SaveFileName(frame_.get(), filters, QStringLiteral("txt"), &filter);
    if (!path) {
        return;  // cancelled: nothing is written
    }
    const ExportFormat format = ChosenFormat(*path, filter, filters);
    RowSelection rows = RowSelection::All();
    // An archive holds the whole list (and is added to when it is there already).
    if (selectedOnly && format != ExportFormat::Sqlite) {
        const std::vector<int> selected = list->SelectedRows();
        rows = RowSelection::Rows(std::vector<std::int32_t>(selected.begin(), selected.end()));
    }
    ExportOptions options;
    options.format = format;
    options.colors = ColorsOf(list->listColors());
    options.owner = OwnerFromDataFile(database().dataPath());
    ExportResult result;
    {
        WaitCursor wait;
        result = ExportToFile(database(), list->currentMember(), rows, options, PathBytes(*path),
                              {PathBytes(settingsFile_->path())});
    }
    ReportSaveFailure(prompts_, frame_.get(), *path, result);
}

void CTalvoraApp::SavePeriod() {
    MessageDatabase& db = database();
    if (!db.loaded()) {
        return;
    }
    std::vector<CPeriodSaveDialog::MemberItem> members;
    for (const auto& [key, label] : treeView()->MemberLabels()) {
        members.push_back({key, label});
    }
    QStringList formats;
    for (const PeriodFormat& format : kPeriodFormats) {
        formats << QString::fromUtf8(format.filter);
    }
    CPeriodSaveDialog dialog(
        std::move(members), treeView()->SelectedMember().value_or(ALL_MEMBERS), formats,
        [&db](std::int32_t key) { return MemberDays(db, key); }, frame_.get());
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const PeriodFormat& chosen = kPeriodFormats[static_cast<std::size_t>(dialog.format())];
    const QString filters = QString::fromUtf8(chosen.filter) + QStringLiteral(";;") +
                            QString::fromUtf8(kAllFilesFilter);
    const auto path =
        prompts_.SaveFileName(frame_.get(), filters, QString::fromLatin1(chosen.suffix));
    if (!path) {
        return;
    }
    ExportOptions options;
    options.format = chosen.format;
    options.colors = ColorsOf(listView()->listColors());
    options.owner = OwnerFromDataFile(db.dataPath());
    const DateRange days =
        CalendarDays({dialog.first().year(), dialog.first().month(), dialog.first().day()},
                     {dialog.last().year(), dialog.last().month(), dialog.last().day()});
    options.period = {true, days.start, days.end};
    const auto split = static_cast<ExportSplit>(dialog.split());
    int files = 0;
    ExportResult result;
    {
        WaitCursor wait;
        result = ExportPeriodFiles(db, dialog.member(), RowSelection::All(), options, split,
                                   PathBytes(*path), {PathBytes(settingsFile_->path())},
                                   [&files](const std::string&) { ++files; });
    }
    ReportPeriodSave(prompts_, frame_.get(), *path, split, result, files);
}

// The two save commands of the application: the list's rows in the format the save
// dialog's filter or the file's extension asks for.
#include <QFile>
#include <QStringList>

#include "app/CTalvoraApp.h"
#include "export/ExportText.h"
#include "text/ShiftJis.h"
#include "ui/controls/Prompts.h"
#include "ui/controls/WaitCursor.h"
#include "ui/frame/CMainFrame.h"
#include "ui/list/CTalvoraView.h"

namespace {

// Filter string 61458 of the save dialog, then the other formats in the order of
// kFilterFormats.
const char kTextFileFilter[] = "テキスト ファイル (*.txt)|*.txt| すべてのファイル (*.*) |*.*|";
const char kOtherFormatFilters[] =
    "CSV ファイル (*.csv)|*.csv|JSON ファイル (*.json)|*.json|"
    "JSON Lines ファイル (*.jsonl)|*.jsonl|HTML ファイル (*.html)|*.html|";
constexpr ExportFormat kFilterFormats[] = {ExportFormat::Text,      ExportFormat::Text,
                                           ExportFormat::Csv,       ExportFormat::Json,
                                           ExportFormat::JsonLines, ExportFormat::Html};

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
    RowSelection rows = RowSelection::All();
    if (selectedOnly) {
        const std::vector<int> selected = list->SelectedRows();
        rows = RowSelection::Rows(std::vector<std::int32_t>(selected.begin(), selected.end()));
    }
    ExportOptions options;
    options.format = ChosenFormat(*path, filter, filters);
    options.colors = ColorsOf(list->listColors());
    options.owner = OwnerFromDataFile(database().dataPath());
    ExportResult result;
    {
        WaitCursor wait;
        result = ExportToFile(database(), list->currentMember(), rows, options, PathBytes(*path),
                              {PathBytes(settingsFile_->path())});
    }
    if (!result.ok && result.failure.kind != OutputFailure::Kind::Interrupted) {
        // A quit signal ended the export: the program is on its way out, no one to tell.
        prompts_.Message(
            frame_.get(), QStringLiteral("Talvora"),
            QStringLiteral("ファイルに保存できませんでした。\n%1\n%2")
                .arg(*path, QString::fromStdString(OutputFailureReasonJa(result.failure))),
            Prompts::Icon::Stop, QMessageBox::Ok);
    }
}

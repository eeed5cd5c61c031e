#include "ui/controls/Prompts.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QHash>
#include <QPushButton>
#include <QRegularExpression>
#include <QStringList>

namespace {

QMessageBox::Icon ToQtIcon(Prompts::Icon icon) {
    switch (icon) {
        case Prompts::Icon::Information:
            return QMessageBox::Information;
        case Prompts::Icon::Exclamation:
            return QMessageBox::Warning;
        case Prompts::Icon::Question:
            return QMessageBox::Question;
        case Prompts::Icon::Stop:
            return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

// The label of each filter QtFilterFromResource has built, by its Qt form as the dialog
// shows it (white space simplified): where Qt needs
// patterns appended to read the right ones, the save dialog still shows the label alone.
QHash<QString, QString>& FilterLabels() {
    static QHash<QString, QString> labels;
    return labels;
}

// Shows the filters of `dialog` (Qt's own dialog) by their resource labels.
void ShowFilterLabels(QFileDialog& dialog) {
    auto* combo = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    if (combo == nullptr) {
        return;
    }
    for (int i = 0; i < combo->count(); ++i) {
        const auto label = FilterLabels().constFind(combo->itemText(i));
        if (label != FilterLabels().constEnd()) {
            combo->setItemText(i, *label);
        }
    }
}

// Qt's own file dialogs, not the desktop's: they show the filters as labelled and speak
// Japanese through Qt's translation. The first file chosen; nullopt when cancelled.
std::optional<QString> FirstChosen(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty() || files.first().isEmpty()) {
        return std::nullopt;
    }
    return files.first();
}

class QtDialogPrompts : public Prompts {
public:
    QMessageBox::StandardButton Message(QWidget* parent, const QString& caption,
                                        const QString& text, Icon icon,
                                        QMessageBox::StandardButtons buttons) override {
        QMessageBox box(ToQtIcon(icon), caption, text, buttons, parent);
        SetJapaneseButtonTexts(box);
        box.exec();
        return box.standardButton(box.clickedButton());
    }

    std::optional<QString> SaveFileName(QWidget* parent, const QString& filter,
                                        const QString& defaultSuffix,
                                        QString* selectedFilter) override {
        // The static getSaveFileName cannot take a default suffix. Qt adds it to a name
        // without an extension before it asks about overwriting, so the question is about
        // the file that will really be written.
        QFileDialog dialog(parent);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setNameFilter(filter);
        dialog.setDefaultSuffix(FilterSuffix(dialog.selectedNameFilter(), defaultSuffix));
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog, &defaultSuffix](const QString& chosen) {
                             dialog.setDefaultSuffix(FilterSuffix(chosen, defaultSuffix));
                         });
        ShowFilterLabels(dialog);
        std::optional<QString> chosen = FirstChosen(dialog);
        if (chosen && selectedFilter != nullptr) {
            *selectedFilter = dialog.selectedNameFilter();
        }
        return chosen;
    }

    std::optional<QString> OpenFileName(QWidget* parent, const QString& filter) override {
        QFileDialog dialog(parent);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setNameFilter(filter);
        ShowFilterLabels(dialog);
        return FirstChosen(dialog);
    }

    std::optional<QColor> Color(QWidget* parent, const QColor& initial) override {
        const QColor color =
            QColorDialog::getColor(initial, parent, QString(), QColorDialog::DontUseNativeDialog);
        if (!color.isValid()) {
            return std::nullopt;
        }
        return color;
    }

    std::optional<QString> Folder(QWidget* parent, const QString& prompt,
                                  const QString& initial) override {
        QFileDialog dialog(parent, prompt, initial);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setOption(QFileDialog::ShowDirsOnly);
        dialog.setFileMode(QFileDialog::Directory);
        return FirstChosen(dialog);
    }

    void OpenUrl(const QUrl& url) override { QDesktopServices::openUrl(url); }
};

// The patterns Qt's file dialog takes from one of its filters: the words inside the
// parentheses that close the filter, else every word of it. QFileDialog simplifies the
// white space of each filter first.
QStringList PatternsQtReads(const QString& filter) {
    static const QRegularExpression trailingPatterns(
        QStringLiteral("^(.*)\\(([a-zA-Z0-9_.,*? +;#\\-\\[\\]@\\{\\}/!<>\\$%&=^~:\\|]*)\\)$"));
    const QString clean = filter.simplified();
    const QRegularExpressionMatch match = trailingPatterns.match(clean);
    const QString patterns = match.hasMatch() ? match.captured(2) : clean;
    return patterns.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// The resource's patterns ("*.txt;*.log") as Qt wants them. "*.*" becomes "*": to Qt it
// would hide files without an extension and turn a typed "log.txt" into "log.*".
QStringList QtPatterns(const QString& resourcePatterns) {
    QStringList patterns;
    for (const QString& part : resourcePatterns.split(QLatin1Char(';'))) {
        QString pattern = part.trimmed();
        if (pattern == QStringLiteral("*.*")) {
            pattern = QStringLiteral("*");
        }
        if (!pattern.isEmpty() && !patterns.contains(pattern)) {
            patterns.append(pattern);
        }
    }
    return patterns;
}

// One filter of Qt's form. The label is kept as it stands; the patterns are appended in
// parentheses only when Qt would not read exactly these from the label itself.
QString QtFilter(const QString& label, const QStringList& patterns) {
    QString joined = patterns.join(QLatin1Char(' '));
    if (label.trimmed().isEmpty()) {
        return joined;
    }
    if (PatternsQtReads(label) == patterns) {
        return label;
    }
    const bool endsWithSpace = label.back().isSpace();
    return label + (endsWithSpace ? QString() : QStringLiteral(" ")) + QLatin1Char('(') + joined +
           QLatin1Char(')');
}

}  // namespace

void SetJapaneseButtonTexts(QMessageBox& box) {
    const struct {
        QMessageBox::StandardButton button;
        const char* text;
    } texts[] = {{QMessageBox::Yes, "はい(&Y)"},
                 {QMessageBox::No, "いいえ(&N)"},
                 {QMessageBox::Ok, "OK"},
                 {QMessageBox::Cancel, "キャンセル"}};
    for (const auto& t : texts) {
        if (QAbstractButton* button = box.button(t.button)) {
            button->setText(QString::fromUtf8(t.text));
        }
    }
}

Prompts& DialogPrompts() {
    static QtDialogPrompts prompts;
    return prompts;
}

QString QtFilterFromResource(const QString& resourceFilter) {
    const QStringList parts = resourceFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& label = parts[i];
        if (label.isEmpty()) {
            break;  // "||" ends the list
        }
        const QStringList patterns = QtPatterns(parts[i + 1]);
        if (!patterns.isEmpty()) {
            filters.append(QtFilter(label, patterns));
            FilterLabels().insert(filters.back().simplified(), label);
        }
    }
    return filters.join(QStringLiteral(";;"));
}

QString FilterSuffix(const QString& filter, const QString& fallback) {
    static const QRegularExpression firstPattern(QStringLiteral("\\(\\*\\.([^ .*;)]+)[ ;)]"));
    const QRegularExpressionMatch match = firstPattern.match(filter);
    return match.hasMatch() ? match.captured(1) : fallback;
}

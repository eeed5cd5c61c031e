#pragma once

#include <QColor>
#include <QMessageBox>
#include <QString>
#include <QUrl>

#include <optional>

class QWidget;

// Every modal question, message, file, colour and folder chooser goes through this, so that
// tests can queue answers instead of showing a window (tests/support/QueuedPrompts.h).
class Prompts {
public:
    enum class Icon { Information, Exclamation, Question, Stop };

    virtual ~Prompts() = default;

    // A message box; returns the button pressed.
    virtual QMessageBox::StandardButton Message(QWidget* parent, const QString& caption,
                                                const QString& text, Icon icon,
                                                QMessageBox::StandardButtons buttons) = 0;
    // The save dialog: `filter` in Qt's form ("Text (*.txt);;All (*)"); a chosen name
    // without an extension gets the extension of the chosen filter, or `defaultSuffix` for
    // a filter without one ("*.*"); an existing file is confirmed first. The chosen filter
    // goes to `selectedFilter` when one is given.
    virtual std::optional<QString> SaveFileName(QWidget* parent, const QString& filter,
                                                const QString& defaultSuffix,
                                                QString* selectedFilter = nullptr) = 0;
    virtual std::optional<QString> OpenFileName(QWidget* parent, const QString& filter) = 0;
    // The colour chooser, preset to `initial`.
    virtual std::optional<QColor> Color(QWidget* parent, const QColor& initial) = 0;
    // The folder chooser with a prompt, starting at `initial`.
    virtual std::optional<QString> Folder(QWidget* parent, const QString& prompt,
                                          const QString& initial) = 0;
    // Opens a web address with the desktop's browser.
    virtual void OpenUrl(const QUrl& url) = 0;
};

// The real dialogs (QMessageBox, QFileDialog, QColorDialog, QDesktopServices).
Prompts& DialogPrompts();

// Gives the buttons of `box` their Japanese texts ("はい(&Y)", "いいえ(&N)", ...), so that
// they hold without Qt's translation.
void SetJapaneseButtonTexts(QMessageBox& box);

// Converts a filter string of the program's resources ("label|pattern|label|pattern|")
// into Qt's form ("label (pattern);;...").
QString QtFilterFromResource(const QString& resourceFilter);

// The extension of a filter's first pattern ("CSV (*.csv)" gives "csv"); `fallback` for a
// pattern without one ("*", "*.*").
QString FilterSuffix(const QString& filter, const QString& fallback);

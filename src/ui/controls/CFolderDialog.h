#pragma once

#include <QString>

class Prompts;
class QWidget;

// The folder chooser with a prompt and an initial folder (Qt's directory chooser behind
// Prompts::Folder). DoModal gives 1 (OK) with the chosen folder, or 2 (Cancel), in which
// case the caller keeps its previous folder.
class CFolderDialog {
public:
    CFolderDialog(Prompts& prompts, const QString& prompt = QString(),
                  const QString& initialFolder = QString(), QWidget* owner = nullptr);

    int DoModal();
    const QString& selectedFolder() const { return selected_; }

private:
    Prompts& prompts_;
    QString prompt_;
    QString initial_;
    QWidget* owner_;
    QString selected_;
};

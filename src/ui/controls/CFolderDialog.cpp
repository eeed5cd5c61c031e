#include "ui/controls/CFolderDialog.h"

#include "ui/controls/Prompts.h"

CFolderDialog::CFolderDialog(Prompts& prompts, const QString& prompt, const QString& initialFolder,
                             QWidget* owner)
    : prompts_(prompts),
      prompt_(prompt),
      initial_(initialFolder),
      owner_(owner),
      selected_(initialFolder) {}

int CFolderDialog::DoModal() {
    selected_ = initial_;
    const std::optional<QString> folder = prompts_.Folder(owner_, prompt_, initial_);
    if (!folder || folder->isEmpty()) {
        return 2;
    }
    selected_ = *folder;
    return 1;
}

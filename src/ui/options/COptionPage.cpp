#include "ui/options/COptionPage.h"

void COptionPage::Initialise() {
    if (initialised_) {
        return;
    }
    initialised_ = true;
    InitPage();
}

void COptionPage::SetModified(bool modified) {
    if (modified_ == modified) {
        return;
    }
    modified_ = modified;
    emit modifiedChanged(modified);
}

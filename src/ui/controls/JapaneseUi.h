#pragma once

class QCoreApplication;

// Qt's own texts (the file, folder and colour choosers, the edit context menus, the
// message-box buttons) in Japanese whatever the desktop's language, and dates written the
// Japanese way. Returns false when Qt's Japanese translation is not installed; the
// program's own texts are Japanese regardless.
bool InstallJapaneseUi(QCoreApplication& application);

#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>

#include "settings/Settings.h"
#include "ui/options/COptionPage.h"

class Prompts;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// "ファイル": where the database is, either a folder and the owner's UIN or a data file and
// an index file; the folder and UIN can be read from the messenger's own settings. Starts
// from `location`; the commit hands the chosen one on (openLocation opens it). The one
// change before a commit: opening on an unset location takes the folder mode at once
// (keepLocation keeps it).
class COptionPage1 : public COptionPage {
    Q_OBJECT
public:
    using OpenLocation = std::function<bool(const LocationSettings&)>;
    using KeepLocation = std::function<void(const LocationSettings&)>;
    COptionPage1(const LocationSettings& location, Prompts& prompts, OpenLocation openLocation,
                 KeepLocation keepLocation = {}, QWidget* parent = nullptr);

    void Commit() override;
    // Refuses a time zone that the system does not know.
    bool FinishEditing() override;

    QRadioButton* folderMode() const { return folderMode_; }
    QRadioButton* filesMode() const { return filesMode_; }
    QLineEdit* folderEdit() const { return folderEdit_; }
    QLineEdit* uinEdit() const { return uinEdit_; }
    QLineEdit* dataEdit() const { return dataEdit_; }
    QLineEdit* indexEdit() const { return indexEdit_; }
    QComboBox* timeZone() const { return timeZone_; }

    // Browse buttons and the read-settings button.
    void BrowseFolder();
    void BrowseDataFile();
    void BrowseIndexFile();
    void ReadSettings();
    // Looks for histories (CScanDialog) and takes the folder and UIN of the one chosen.
    void ScanHistories();
    // Where ScanHistories looks: CScanDialog::DefaultRoots() unless set.
    void SetScanRoots(const QStringList& roots) { scanRoots_ = roots; }
    QPushButton* scanButton() const { return scanHistories_; }

protected:
    void InitPage() override;

private:
    void BuildControls();
    // Checks the mode's radio button, enables its controls and disables the other mode's.
    void SetMode(std::int32_t mode);
    void GreetUnsetLocation();
    QWidget* CreateTimeGroup();
    // The zone chosen: empty for the machine's own.
    QString ChosenZone() const;

    LocationSettings location_;
    Prompts& prompts_;
    OpenLocation openLocation_;
    KeepLocation keepLocation_;

    QRadioButton* folderMode_ = nullptr;
    QLineEdit* folderEdit_ = nullptr;
    QPushButton* folderBrowse_ = nullptr;
    QLineEdit* uinEdit_ = nullptr;
    QPushButton* readSettings_ = nullptr;
    QPushButton* scanHistories_ = nullptr;
    std::optional<QStringList> scanRoots_;
    QRadioButton* filesMode_ = nullptr;
    QLineEdit* dataEdit_ = nullptr;
    QPushButton* dataBrowse_ = nullptr;
    QLineEdit* indexEdit_ = nullptr;
    QPushButton* indexBrowse_ = nullptr;
    QComboBox* timeZone_ = nullptr;
};

// The UIN edit's text as a number: empty gives 0; beyond the signed 32-bit range the value
// wraps modulo 2^32 (4294967295 gives -1), as the messenger names its files.
std::int32_t UinFromText(const QString& text);
// A UIN as the edit shows it: digits only, so a negative key shows as its 32-bit pattern
// and reads back as the same key.
QString UinText(std::int32_t uin);
// The index file that goes with a data file: the file name's extension replaced by ".idx"
// (".idx" appended when the name has none).
QString DerivedIndexPath(const QString& dataPath);

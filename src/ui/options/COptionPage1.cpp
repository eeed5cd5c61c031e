#include "ui/options/COptionPage1.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "database/LocalTime.h"
#include "database/MessageDatabase.h"
#include "settings/Settings.h"
#include "settings/VelmuSettings.h"
#include "ui/controls/CFolderDialog.h"
#include "ui/controls/Prompts.h"
#include "ui/options/CScanDialog.h"
#include "ui/options/OptionTexts.h"

namespace {

constexpr int kMaxUinDigits = 10;
constexpr int kIndent = 20;

QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

QLineEdit* PathEdit(const char* objectName) {
    auto* edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(objectName));
    edit->setMinimumWidth(260);
    return edit;
}

QPushButton* BrowseButton(const char* objectName) {
    auto* button = new QPushButton(Text(optiontext::kBrowse));
    button->setObjectName(QString::fromLatin1(objectName));
    button->setFixedWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);
    return button;
}

// A derived name in the letter case its folder has (histories copied from another system
// often come as "12345MSG.DAT" and "12345MSG.IDX"), as opening a folder's pair takes it.
QString AsSpelledInFolder(const QString& path) {
    return QFile::decodeName(
        MessageDatabase::ResolveNameCase(NativeFileSystem(), QFile::encodeName(path).toStdString())
            .c_str());
}

}  // namespace

std::int32_t UinFromText(const QString& text) {
    std::uint32_t value = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            break;
        }
        value = value * 10u + static_cast<std::uint32_t>(c.unicode() - u'0');  // mod 2^32
    }
    return static_cast<std::int32_t>(value);
}

QString UinText(std::int32_t uin) {
    return QString::number(static_cast<std::uint32_t>(uin));
}

QString DerivedIndexPath(const QString& dataPath) {
    const qsizetype nameStart = dataPath.lastIndexOf(QLatin1Char('/')) + 1;
    const qsizetype dot = dataPath.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot >= nameStart ? dataPath.left(dot) : dataPath;
    return stem + QStringLiteral(".idx");
}

COptionPage1::COptionPage1(const LocationSettings& location, Prompts& prompts,
                           OpenLocation openLocation, KeepLocation keepLocation, QWidget* parent)
    : COptionPage(parent),
      location_(location),
      prompts_(prompts),
      openLocation_(std::move(openLocation)),
      keepLocation_(std::move(keepLocation)) {
    setObjectName(QStringLiteral("filePage"));
    BuildControls();
}

void COptionPage1::BuildControls() {
    folderMode_ = new QRadioButton(Text(optiontext::kFolderMode));
    folderMode_->setObjectName(QStringLiteral("folderMode"));
    folderEdit_ = PathEdit("folderEdit");
    folderBrowse_ = BrowseButton("folderBrowse");
    uinEdit_ = new QLineEdit;
    uinEdit_->setObjectName(QStringLiteral("uinEdit"));
    uinEdit_->setMaxLength(kMaxUinDigits);
    uinEdit_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), uinEdit_));
    uinEdit_->setFixedWidth(
        uinEdit_->fontMetrics().horizontalAdvance(QStringLiteral("0")) * (kMaxUinDigits + 2) + 12);
    readSettings_ = new QPushButton(Text(optiontext::kReadSettings));
    readSettings_->setObjectName(QStringLiteral("readSettings"));
    scanHistories_ = new QPushButton(Text(optiontext::kScanHistories));
    scanHistories_->setObjectName(QStringLiteral("scanHistories"));
    filesMode_ = new QRadioButton(Text(optiontext::kFilesMode));
    filesMode_->setObjectName(QStringLiteral("filesMode"));
    dataEdit_ = PathEdit("dataEdit");
    dataBrowse_ = BrowseButton("dataBrowse");
    indexEdit_ = PathEdit("indexEdit");
    indexBrowse_ = BrowseButton("indexBrowse");

    auto* modes = new QButtonGroup(this);
    modes->addButton(folderMode_, DatabaseFolder);
    modes->addButton(filesMode_, LogFiles);

    auto* grid = new QGridLayout;
    grid->setColumnMinimumWidth(0, kIndent);
    grid->setColumnStretch(2, 1);
    grid->addWidget(folderMode_, 0, 0, 1, 4);
    grid->addWidget(new QLabel(Text(optiontext::kFolderLabel)), 1, 1);
    grid->addWidget(folderEdit_, 1, 2);
    grid->addWidget(folderBrowse_, 1, 3);
    grid->addWidget(new QLabel(Text(optiontext::kUinLabel)), 2, 1);
    auto* uinRow = new QHBoxLayout;
    uinRow->addWidget(uinEdit_);
    uinRow->addStretch(1);
    uinRow->addWidget(readSettings_);
    uinRow->addWidget(scanHistories_);
    grid->addLayout(uinRow, 2, 2, 1, 2);
    grid->setRowMinimumHeight(3, 8);
    grid->addWidget(filesMode_, 4, 0, 1, 4);
    grid->addWidget(new QLabel(Text(optiontext::kDataLabel)), 5, 1);
    grid->addWidget(dataEdit_, 5, 2);
    grid->addWidget(dataBrowse_, 5, 3);
    grid->addWidget(new QLabel(Text(optiontext::kIndexLabel)), 6, 1);
    grid->addWidget(indexEdit_, 6, 2);
    grid->addWidget(indexBrowse_, 6, 3);

    auto* group = new QGroupBox(Text(optiontext::kLocationGroup));
    group->setLayout(grid);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(CreateTimeGroup());
    layout->addStretch(1);

    connect(folderMode_, &QRadioButton::clicked, this, [this] { SetMode(DatabaseFolder); });
    connect(filesMode_, &QRadioButton::clicked, this, [this] { SetMode(LogFiles); });
    connect(folderBrowse_, &QPushButton::clicked, this, &COptionPage1::BrowseFolder);
    connect(dataBrowse_, &QPushButton::clicked, this, &COptionPage1::BrowseDataFile);
    connect(indexBrowse_, &QPushButton::clicked, this, &COptionPage1::BrowseIndexFile);
    connect(readSettings_, &QPushButton::clicked, this, &COptionPage1::ReadSettings);
    connect(scanHistories_, &QPushButton::clicked, this, &COptionPage1::ScanHistories);
    for (QLineEdit* edit : {folderEdit_, uinEdit_, dataEdit_, indexEdit_}) {
        connect(edit, &QLineEdit::textChanged, this, [this] { SetModified(true); });
    }
}

void COptionPage1::InitPage() {
    {
        const QSignalBlocker quiet(timeZone_);
        if (location_.timeZone.isEmpty()) {
            timeZone_->setCurrentIndex(0);
        } else {
            timeZone_->setCurrentText(location_.timeZone);
        }
    }
    switch (location_.location) {
        case DatabaseFolder:
            SetMode(DatabaseFolder);
            if (!location_.dbPath.isEmpty()) {
                folderEdit_->setText(location_.dbPath);
            }
            if (location_.uin != 0) {
                uinEdit_->setText(UinText(location_.uin));
            }
            break;
        case LogFiles:
            SetMode(LogFiles);
            if (!location_.msgDatFile.isEmpty()) {
                dataEdit_->setText(location_.msgDatFile);
            }
            if (!location_.msgIdxFile.isEmpty()) {
                indexEdit_->setText(location_.msgIdxFile);
            }
            break;
        case Unset:
            GreetUnsetLocation();
            break;
        default:
            break;  // no mode is chosen; every control stays enabled
    }
}

void COptionPage1::GreetUnsetLocation() {
    prompts_.Message(this, Text(optiontext::kAppTitle), Text(optiontext::kLocationUnset),
                     Prompts::Icon::Exclamation, QMessageBox::Ok);
    location_.location = DatabaseFolder;
    if (keepLocation_) {
        keepLocation_(location_);
    }
    SetMode(DatabaseFolder);
    // Whether the detection succeeded does not matter here: whatever it found is offered.
    const VelmuSettings detected = ReadVelmuSettings();
    CFolderDialog browser(prompts_, Text(optiontext::kFolderPrompt),
                          detected.folder.value_or(QDir::homePath()), this);
    if (browser.DoModal() != 1) {
        return;
    }
    folderEdit_->setText(browser.selectedFolder());
    SetModified(true);
    if (detected.uin) {
        uinEdit_->setText(UinText(*detected.uin));
    }
}

void COptionPage1::SetMode(std::int32_t mode) {
    const bool folder = mode == DatabaseFolder;
    (folder ? folderMode_ : filesMode_)->setChecked(true);
    for (QWidget* control :
         {static_cast<QWidget*>(folderEdit_), static_cast<QWidget*>(folderBrowse_),
          static_cast<QWidget*>(uinEdit_), static_cast<QWidget*>(readSettings_)}) {
        control->setEnabled(folder);
    }
    for (QWidget* control :
         {static_cast<QWidget*>(dataEdit_), static_cast<QWidget*>(dataBrowse_),
          static_cast<QWidget*>(indexEdit_), static_cast<QWidget*>(indexBrowse_)}) {
        control->setEnabled(!folder);
    }
    SetModified(true);
}

void COptionPage1::BrowseFolder() {
    const QString current = folderEdit_->text();
    CFolderDialog browser(prompts_, Text(optiontext::kFolderPrompt),
                          current.isEmpty() ? QDir::homePath() : current, this);
    if (browser.DoModal() != 1) {
        return;
    }
    folderEdit_->setText(browser.selectedFolder());
    SetModified(true);
}

void COptionPage1::BrowseDataFile() {
    const std::optional<QString> path =
        prompts_.OpenFileName(this, QtFilterFromResource(Text(optiontext::kDataFilter)));
    if (!path) {
        return;
    }
    dataEdit_->setText(*path);
    indexEdit_->setText(AsSpelledInFolder(DerivedIndexPath(*path)));
    SetModified(true);
}

void COptionPage1::BrowseIndexFile() {
    const std::optional<QString> path =
        prompts_.OpenFileName(this, QtFilterFromResource(Text(optiontext::kIndexFilter)));
    if (!path) {
        return;
    }
    indexEdit_->setText(*path);
    SetModified(true);
}

namespace {

// The zones the system knows, from its table of zones (one a line after two fields; lines
// starting with # are comments); none when it has no such table (any name can be typed).
QStringList KnownZones() {
    QStringList zones;
    QFile table(QStringLiteral("/usr/share/zoneinfo/zone1970.tab"));
    if (!table.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return zones;
    }
    while (!table.atEnd()) {
        const QString line = QString::fromUtf8(table.readLine());
        const QStringList fields = line.split(u'\t');
        if (!line.startsWith(u'#') && fields.size() >= 3) {
            zones << fields[2].trimmed();
        }
    }
    zones.sort();
    zones.removeDuplicates();
    return zones;
}

}  // namespace

QWidget* COptionPage1::CreateTimeGroup() {
    auto* group = new QGroupBox(Text(optiontext::kTimeGroup));
    timeZone_ = new QComboBox;
    timeZone_->setObjectName(QStringLiteral("timeZone"));
    timeZone_->setEditable(true);
    timeZone_->setInsertPolicy(QComboBox::NoInsert);
    timeZone_->addItem(Text(optiontext::kMachineZone));
    timeZone_->addItems(KnownZones());
    auto* label = new QLabel(Text(optiontext::kTimeZoneLabel));
    label->setBuddy(timeZone_);
    auto* row = new QHBoxLayout(group);
    row->addWidget(label);
    row->addWidget(timeZone_, 1);
    connect(timeZone_, &QComboBox::currentTextChanged, this, [this] { SetModified(true); });
    return group;
}

QString COptionPage1::ChosenZone() const {
    const QString text = timeZone_->currentText().trimmed();
    return text == Text(optiontext::kMachineZone) ? QString() : text;
}

bool COptionPage1::FinishEditing() {
    const QString zone = ChosenZone();
    if (zone.isEmpty() || IsTimeZoneName(zone.toStdString())) {
        return true;
    }
    prompts_.Message(this, Text(optiontext::kAppTitle), Text(optiontext::kUnknownZone).arg(zone),
                     Prompts::Icon::Exclamation, QMessageBox::Ok);
    timeZone_->setFocus();
    return false;
}

void COptionPage1::ReadSettings() {
    if (prompts_.Message(this, Text(optiontext::kAppTitle), Text(optiontext::kReadSettingsQuestion),
                         Prompts::Icon::Question,
                         QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
        return;
    }
    const VelmuSettings detected = ReadVelmuSettings();
    // Where it looked is said whenever nothing is taken: a missing or unexpected Wine prefix
    // shows no other sign.
    const QString lookedAt =
        Text(optiontext::kSettingsSource).arg(QDir::toNativeSeparators(detected.source));
    if (!detected.ok) {
        prompts_.Message(this, Text(optiontext::kAppTitle),
                         Text(optiontext::kReadSettingsFailed) + u'\n' + lookedAt,
                         Prompts::Icon::Stop, QMessageBox::Ok);
        return;
    }
    if (!detected.folder && !detected.uin) {
        prompts_.Message(this, Text(optiontext::kAppTitle),
                         Text(optiontext::kSettingsNotFound) + u'\n' + lookedAt,
                         Prompts::Icon::Information, QMessageBox::Ok);
        return;
    }
    // A value the messenger has not stored leaves its edit as it was.
    if (detected.folder) {
        folderEdit_->setText(*detected.folder);
    }
    if (detected.uin) {
        uinEdit_->setText(UinText(*detected.uin));
    }
    SetModified(true);
}

void COptionPage1::ScanHistories() {
    CScanDialog dialog(scanRoots_.value_or(CScanDialog::DefaultRoots()), this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const std::optional<FoundHistory> chosen = dialog.chosen();
    if (!chosen) {
        return;
    }
    SetMode(DatabaseFolder);
    folderEdit_->setText(QFile::decodeName(QByteArray::fromStdString(chosen->folder)));
    uinEdit_->setText(UinText(chosen->uin));
    SetModified(true);
}

void COptionPage1::Commit() {
    location_.timeZone = ChosenZone();
    if (folderMode_->isChecked()) {
        location_.location = DatabaseFolder;
        location_.dbPath = folderEdit_->text();
        location_.uin = UinFromText(uinEdit_->text());
    } else if (filesMode_->isChecked()) {
        location_.location = LogFiles;
        location_.msgDatFile = dataEdit_->text();
        location_.msgIdxFile = indexEdit_->text();
    } else {
        return;
    }
    // A new pair comes with the stored names and a rebuilt tree; the pair already open is
    // not reloaded.
    if (openLocation_) {
        openLocation_(location_);
    }
}

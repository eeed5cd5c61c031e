#include "settings/Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "database/MessageDatabase.h"
#include "text/ShiftJis.h"

namespace {

const QString kLogFile = QStringLiteral("Log File");
const QString kLocation = QStringLiteral("Location");
const QString kDbPath = QStringLiteral("DB Path");
const QString kUin = QStringLiteral("UIN");
const QString kTimeZone = QStringLiteral("Time Zone");
const QString kMsgIdxFile = QStringLiteral("MsgIdx File");
const QString kMsgDatFile = QStringLiteral("MsgDat File");

const QString kColor = QStringLiteral("Color");
const QString kSendBackground = QStringLiteral("Send Background");
const QString kSendText = QStringLiteral("Send Text");
const QString kReceiveBackground = QStringLiteral("Receive Background");
const QString kReceiveText = QStringLiteral("Receive Text");
const QString kHighlightBackground = QStringLiteral("HightLight Background");
const QString kHighlightText = QStringLiteral("HightLight Text");

const QString kMemberName = QStringLiteral("Member Name");

const QString kWindow = QStringLiteral("Window");
const QString kHitListWindow = QStringLiteral("Hit List");
const QString kLeft = QStringLiteral("Left");
const QString kTop = QStringLiteral("Top");
const QString kWidth = QStringLiteral("Width");
const QString kHeight = QStringLiteral("Height");
const QString kMaximized = QStringLiteral("Maximized");
// No screen is larger; a stored size beyond it is not one to open with.
constexpr std::int32_t kMaxWindowSide = 32767;

// The platform reader gives a stored name at most this many bytes.
constexpr std::size_t kMaxNameBytes = 4095;

constexpr std::uint32_t kWhite = ColorRef(255, 255, 255);
constexpr std::uint32_t kBlack = ColorRef(0, 0, 0);
constexpr std::uint32_t kSelectionBlue = 0x00D77800;

// A file that could not be read is someone else's, or damaged: it is left as it is.
IniReason NotOverwritten(const IniReason& why) {
    return {QStringLiteral("読み込めないファイルなので上書きしません（%1）").arg(why.japanese),
            QStringLiteral("not overwritten: %1").arg(why.english)};
}

// Colours in the file's order, with their keys.
std::vector<std::pair<const QString*, std::uint32_t ListColors::*>> ColorKeys() {
    return {{&kSendBackground, &ListColors::sendBackground},
            {&kSendText, &ListColors::sendText},
            {&kReceiveBackground, &ListColors::receiveBackground},
            {&kReceiveText, &ListColors::receiveText},
            {&kHighlightBackground, &ListColors::highlightBackground},
            {&kHighlightText, &ListColors::highlightText}};
}

bool IsShiftJisLead(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Cuts after the last whole character that fits in `limit` bytes.
void CutShiftJis(std::string& bytes, std::size_t limit) {
    std::size_t end = 0;
    while (end < bytes.size()) {
        const std::size_t length = IsShiftJisLead(static_cast<unsigned char>(bytes[end])) ? 2 : 1;
        if (end + length > limit) {
            break;
        }
        end += length;
    }
    bytes.resize(std::min(end, bytes.size()));
}

// The name a member is given for a stored value.
std::string StoredName(const QString& value) {
    // A name typed elsewhere may hold characters Shift-JIS lacks: those become "?", as the
    // platform's own conversion does, rather than losing the whole name.
    std::string name = ToShiftJisWith(value, '?');
    CutShiftJis(name, kMaxNameBytes);
    return name;
}

std::vector<std::int32_t> MemberKeys(MessageDatabase& database) {
    std::vector<std::int32_t> keys;
    for (bool more = database.FirstMember(); more; more = database.NextMember()) {
        keys.push_back(database.CurrentKey());
    }
    return keys;
}

void WriteLocation(IniFile& ini, const LocationSettings& location) {
    ini.WriteInt(kLogFile, kLocation, location.location);
    if (location.location == DatabaseFolder) {
        ini.WriteString(kLogFile, kDbPath, location.dbPath);
        ini.WriteInt(kLogFile, kUin, location.uin);
        ini.RemoveKey(kLogFile, kMsgIdxFile);
        ini.RemoveKey(kLogFile, kMsgDatFile);
    } else if (location.location == LogFiles) {
        ini.RemoveKey(kLogFile, kDbPath);
        ini.WriteInt(kLogFile, kUin, 0);
        ini.WriteString(kLogFile, kMsgIdxFile, location.msgIdxFile);
        ini.WriteString(kLogFile, kMsgDatFile, location.msgDatFile);
    }
    if (location.timeZone.isEmpty()) {
        ini.RemoveKey(kLogFile, kTimeZone);
    } else {
        ini.WriteString(kLogFile, kTimeZone, location.timeZone);
    }
}

// One entry of the recent list: "folder<TAB>ZONE<TAB>UIN<TAB>DIR" or
// "files<TAB>ZONE<TAB>INDEX<TAB>DATA". A path holding a tab or a line end is not kept.
const QString kRecentSection = QStringLiteral("Recent Histories");
const QString kRecentFolder = QStringLiteral("folder");
const QString kRecentFiles = QStringLiteral("files");

std::optional<QString> RecentEntry(const LocationSettings& location) {
    const QString tab = QStringLiteral("\t");
    QStringList fields;
    if (location.location == DatabaseFolder && !location.dbPath.isEmpty()) {
        fields = {kRecentFolder, location.timeZone, QString::number(location.uin), location.dbPath};
    } else if (location.location == LogFiles && !location.msgIdxFile.isEmpty() &&
               !location.msgDatFile.isEmpty()) {
        fields = {kRecentFiles, location.timeZone, location.msgIdxFile, location.msgDatFile};
    } else {
        return std::nullopt;
    }
    for (const QString& field : fields) {
        if (field.contains(u'\t') || field.contains(u'\n') || field.contains(u'\r')) {
            return std::nullopt;
        }
    }
    return fields.join(tab);
}

std::optional<LocationSettings> ParseRecentEntry(const QString& text) {
    const QStringList fields = text.split(u'\t');
    if (fields.size() != 4 || fields[3].isEmpty()) {
        return std::nullopt;
    }
    LocationSettings location;
    location.timeZone = fields[1].trimmed();
    if (fields[0] == kRecentFolder) {
        bool ok = false;
        location.uin = fields[2].toInt(&ok);
        if (!ok || location.uin <= 0) {
            return std::nullopt;
        }
        location.location = DatabaseFolder;
        location.dbPath = fields[3];
    } else if (fields[0] == kRecentFiles && !fields[2].isEmpty()) {
        location.location = LogFiles;
        location.msgIdxFile = fields[2];
        location.msgDatFile = fields[3];
    } else {
        return std::nullopt;
    }
    return location;
}

// Two entries name the same history when they name the same files (the zone aside).
bool SameHistory(const LocationSettings& a, const LocationSettings& b) {
    return a.location == b.location && a.uin == b.uin && a.dbPath == b.dbPath &&
           a.msgIdxFile == b.msgIdxFile && a.msgDatFile == b.msgDatFile;
}

void WriteRecent(IniFile& ini, const std::vector<LocationSettings>& recent) {
    std::size_t number = 1;
    for (const LocationSettings& location : recent) {
        if (number > SettingsFile::kRecentHistories) {
            break;
        }
        if (const std::optional<QString> entry = RecentEntry(location)) {
            ini.WriteString(kRecentSection, QString::number(number++), *entry);
        }
    }
    for (; number <= SettingsFile::kRecentHistories; ++number) {
        ini.RemoveKey(kRecentSection, QString::number(number));
    }
}

const QString& SectionOf(StoredWindow which) {
    return which == StoredWindow::Main ? kWindow : kHitListWindow;
}

void WriteWindow(IniFile& ini, const QString& section, const WindowPlacement& window) {
    ini.WriteInt(section, kLeft, window.left);
    ini.WriteInt(section, kTop, window.top);
    ini.WriteInt(section, kWidth, window.width);
    ini.WriteInt(section, kHeight, window.height);
    ini.WriteInt(section, kMaximized, window.maximized ? 1 : 0);
}

}  // namespace

ListColors DefaultListColors(std::uint32_t window, std::uint32_t windowText,
                             std::uint32_t highlight, std::uint32_t highlightText) {
    return ListColors{window, windowText, window, windowText, highlight, highlightText};
}

ListColors CliDefaultColors() {
    return DefaultListColors(kWhite, kBlack, kSelectionBlue, kWhite);
}

QString BuildSettingsPath(const QString& overridePath) {
    if (!overridePath.isEmpty()) {
        // Every later read and write must name the same file, whatever the working folder.
        return QFileInfo(overridePath).absoluteFilePath();
    }
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (base.isEmpty()) {
        base = QDir::homePath() + QStringLiteral("/.config");
    }
    return base + QStringLiteral("/talvora/Talvora.ini");
}

SettingsFile::SettingsFile(QString path) : path_(std::move(path)) {}

SettingsFileState SettingsFile::Read() {
    const IniLoadResult result = ini_.Load(path_);
    reason_ = result.reason;
    switch (result.status) {
        case IniLoadStatus::Loaded:
            state_ = SettingsFileState::Loaded;
            break;
        case IniLoadStatus::Missing:
            state_ = SettingsFileState::Missing;
            break;
        case IniLoadStatus::Unreadable:
            state_ = SettingsFileState::Unreadable;
            break;
    }
    return state_;
}

StoredSettings SettingsFile::LoadSettings(const ListColors& defaultColors) const {
    StoredSettings settings;
    LocationSettings& location = settings.location;
    location.location = ini_.ReadInt(kLogFile, kLocation, Unset);
    location.dbPath = ini_.ReadString(kLogFile, kDbPath);
    location.msgIdxFile = ini_.ReadString(kLogFile, kMsgIdxFile);
    location.msgDatFile = ini_.ReadString(kLogFile, kMsgDatFile);
    location.uin = ini_.ReadInt(kLogFile, kUin, 0);
    location.timeZone = ini_.ReadString(kLogFile, kTimeZone).trimmed();

    settings.colors = defaultColors;
    for (const auto& [key, field] : ColorKeys()) {
        const auto fallback = static_cast<std::int32_t>(defaultColors.*field);
        settings.colors.*field = static_cast<std::uint32_t>(ini_.ReadInt(kColor, *key, fallback));
    }
    return settings;
}

std::optional<WindowPlacement> SettingsFile::LoadWindowPlacement(StoredWindow which) const {
    const QString& section = SectionOf(which);
    if (!ini_.Value(section, kWidth) || !ini_.Value(section, kHeight)) {
        return std::nullopt;
    }
    WindowPlacement window;
    window.left = ini_.ReadInt(section, kLeft, 0);
    window.top = ini_.ReadInt(section, kTop, 0);
    window.width = ini_.ReadInt(section, kWidth, 0);
    window.height = ini_.ReadInt(section, kHeight, 0);
    window.maximized = ini_.ReadInt(section, kMaximized, 0) != 0;
    if (window.width <= 0 || window.height <= 0 || window.width > kMaxWindowSide ||
        window.height > kMaxWindowSide) {
        return std::nullopt;
    }
    return window;
}

void SettingsFile::LoadMemberNames(MessageDatabase& database) const {
    if (!database.loaded()) {
        return;
    }
    // Keys first: naming a member must not disturb the walk.
    for (const std::int32_t key : MemberKeys(database)) {
        database.SetMemberName(key, StoredMemberName(key).value_or(std::string()));
    }
}

std::optional<std::string> SettingsFile::StoredMemberName(std::int32_t key) const {
    const std::optional<QString> stored = ini_.Value(kMemberName, QString::number(key));
    if (!stored || stored->isEmpty()) {
        return std::nullopt;
    }
    return StoredName(*stored);
}

std::vector<LocationSettings> SettingsFile::LoadRecentHistories() const {
    std::vector<LocationSettings> recent;
    for (std::size_t number = 1; number <= kRecentHistories; ++number) {
        const std::optional<QString> stored = ini_.Value(kRecentSection, QString::number(number));
        if (stored) {
            if (const std::optional<LocationSettings> location = ParseRecentEntry(*stored)) {
                recent.push_back(*location);
            }
        }
    }
    return recent;
}

std::vector<LocationSettings> SettingsFile::WithRecent(std::vector<LocationSettings> recent,
                                                       const LocationSettings& opened) {
    std::erase_if(recent,
                  [&](const LocationSettings& entry) { return SameHistory(entry, opened); });
    recent.insert(recent.begin(), opened);
    if (recent.size() > kRecentHistories) {
        recent.resize(kRecentHistories);
    }
    return recent;
}

IniSaveResult SettingsFile::SaveSettings(const LocationSettings& location, const ListColors& colors,
                                         const std::map<std::int32_t, std::string>& names) {
    if (state_ == SettingsFileState::Unreadable) {
        return {false, NotOverwritten(reason_)};
    }
    // Start from the file as it is now, so that what others wrote since start-up stays.
    IniFile current;
    const IniLoadResult loaded = current.Load(path_);
    if (loaded.status == IniLoadStatus::Unreadable) {
        return {false, NotOverwritten(loaded.reason)};
    }

    WriteLocation(current, location);
    for (const StoredWindow which : {StoredWindow::Main, StoredWindow::HitList}) {
        if (const auto& placement = windows_[static_cast<std::size_t>(which)]) {
            WriteWindow(current, SectionOf(which), *placement);
        }
    }
    for (const auto& [key, field] : ColorKeys()) {
        current.WriteInt(kColor, *key, static_cast<std::int32_t>(colors.*field));
    }
    if (recent_) {
        WriteRecent(current, *recent_);
    }
    for (const auto& [key, name] : names) {
        const QString keyText = QString::number(key);
        // A stored name that gives the member's name as it is stays as stored: it may
        // hold characters that the member's Shift-JIS name lacks, or be longer.
        const QString stored = current.ReadString(kMemberName, keyText);
        if (!name.empty() && !stored.isEmpty() && StoredName(stored) == name) {
            continue;
        }
        current.WriteString(kMemberName, keyText, FromShiftJis(name));
    }

    const QString folder = QFileInfo(path_).absolutePath();
    if (!QDir().mkpath(folder)) {
        return {false,
                {QStringLiteral("フォルダー %1 を作成できません。").arg(folder),
                 QStringLiteral("cannot create the folder %1").arg(folder)}};
    }
    IniSaveResult saved = current.Save(path_);
    if (saved.ok) {
        ini_ = std::move(current);
        state_ = SettingsFileState::Loaded;
    }
    return saved;
}

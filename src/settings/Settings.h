#pragma once

// The program's settings file: where the database is, the six list colours and the
// members' display names. Read once at start-up, written once at exit.

#include <QString>

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "settings/IniFile.h"
#include "settings/WindowPlacement.h"

class MessageDatabase;

enum LogLocation : std::int32_t { Unset = -1, DatabaseFolder = 0, LogFiles = 1 };

// Where the database is. Paths are kept whole, however long they are (the database layer
// takes them as QFile::encodeName bytes).
struct LocationSettings {
    std::int32_t location = Unset;  // a value other than the three stays as read
    std::int32_t uin = 0;           // DatabaseFolder
    QString dbPath;                 // DatabaseFolder
    QString msgIdxFile;             // LogFiles
    QString msgDatFile;             // LogFiles
    // The IANA zone (Asia/Tokyo) whose rules the history's times are shown by; empty for
    // the machine's own zone.
    QString timeZone;

    bool operator==(const LocationSettings&) const = default;
};

// The event list's colours, each 0x00BBGGRR (red in the lowest byte).
struct ListColors {
    std::uint32_t sendBackground = 0;
    std::uint32_t sendText = 0;
    std::uint32_t receiveBackground = 0;
    std::uint32_t receiveText = 0;
    std::uint32_t highlightBackground = 0;
    std::uint32_t highlightText = 0;

    bool operator==(const ListColors&) const = default;
};

constexpr std::uint32_t ColorRef(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return static_cast<std::uint32_t>(red) | static_cast<std::uint32_t>(green) << 8 |
           static_cast<std::uint32_t>(blue) << 16;
}

// Defaults from the platform's window, window-text, selection and selection-text colours
// (the window passes its palette's Base, Text, Highlight and HighlightedText).
ListColors DefaultListColors(std::uint32_t window, std::uint32_t windowText,
                             std::uint32_t highlight, std::uint32_t highlightText);
// Defaults for the command line, which has no palette: white, black, 0x00D77800 and white.
ListColors CliDefaultColors();

// `overridePath` made absolute when given (--settings FILE); otherwise "talvora/Talvora.ini"
// in the per-user configuration folder (~/.config/talvora/Talvora.ini on Linux).
QString BuildSettingsPath(const QString& overridePath = QString());

enum class SettingsFileState {
    Missing,  // no file yet: all defaults; the first save creates it
    Loaded,
    Unreadable,  // all defaults; tell the user once (reason()); the file is never written
};

// The windows whose place and size are kept: the main window ("Window") and the hit list
// ("Hit List").
enum class StoredWindow { Main, HitList };

struct StoredSettings {
    LocationSettings location;
    ListColors colors;
};

class SettingsFile {
public:
    explicit SettingsFile(QString path);

    // Reads the file into memory. Until this is called the state is Missing.
    SettingsFileState Read();
    SettingsFileState state() const { return state_; }
    const QString& path() const { return path_; }
    // Why the file is unreadable.
    const IniReason& reason() const { return reason_; }

    // Location and colours; every absent key gives its default, the colours those passed.
    StoredSettings LoadSettings(const ListColors& defaultColors) const;
    // A window's stored place and size; nullopt when none is stored, or a size is not a
    // size a window can have.
    std::optional<WindowPlacement> LoadWindowPlacement(
        StoredWindow which = StoredWindow::Main) const;
    // The place and size that the next save writes (nothing of a window is written before
    // this is called for it).
    void SetWindowPlacement(const WindowPlacement& placement,
                            StoredWindow which = StoredWindow::Main) {
        windows_[static_cast<std::size_t>(which)] = placement;
    }
    // Gives every member of a just-opened database its stored display name (or its default
    // name when none is stored). Does nothing when no database is loaded.
    void LoadMemberNames(MessageDatabase& database) const;
    // Writes location, colours and the names given (Shift-JIS, by member key) into the file
    // as it is on disk now (other keys and lines, stored names of other members too, stay).
    // Refuses, and leaves the file alone, when the file is unreadable.
    IniSaveResult SaveSettings(const LocationSettings& location, const ListColors& colors,
                               const std::map<std::int32_t, std::string>& names);
    // The display name stored for a member (Shift-JIS); nullopt when none is stored.
    std::optional<std::string> StoredMemberName(std::int32_t key) const;

    // The histories opened last, newest first (section "Recent Histories", keys 1 to 5);
    // entries that name no history are left out.
    std::vector<LocationSettings> LoadRecentHistories() const;
    // The list the next save writes (nothing of it is written before this is called).
    void SetRecentHistories(const std::vector<LocationSettings>& recent) { recent_ = recent; }
    static constexpr std::size_t kRecentHistories = 5;
    // `recent` with `opened` first, an equal entry taken out, cut to kRecentHistories.
    static std::vector<LocationSettings> WithRecent(std::vector<LocationSettings> recent,
                                                    const LocationSettings& opened);

private:
    QString path_;
    IniFile ini_;
    SettingsFileState state_ = SettingsFileState::Missing;
    IniReason reason_;
    std::array<std::optional<WindowPlacement>, 2> windows_;
    std::optional<std::vector<LocationSettings>> recent_;
};

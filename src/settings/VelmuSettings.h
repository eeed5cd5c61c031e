#pragma once

// The messenger's own record of its database folder ("DataBase") and of the owner who used
// it last ("LastOwner"): in the registry on Windows, in the Wine prefix's user.reg
// elsewhere.

#include <QString>

#include <cstdint>
#include <optional>

struct VelmuSettings {
    bool ok = false;
    std::optional<QString> folder;    // the database folder as a local path
    std::optional<std::int32_t> uin;  // the last owner
    QString reason;                   // why the detection failed
    QString source;  // where it looked: the user.reg file (or the registry key on Windows)
};

// Reads both values. A missing key (or a missing user.reg) is no failure: the detection
// succeeds with what it found. It fails when the DefaultPrefs key is there without a
// "DataBase" string, when that string names no local folder, or when the Owners key is
// there without a 32-bit "LastOwner".
// Windows: the registry. Elsewhere: $WINEPREFIX/user.reg, else ~/.wine/user.reg.
VelmuSettings ReadVelmuSettings();
// The same, from the user.reg of the Wine prefix at `winePrefix`.
VelmuSettings ReadVelmuSettings(const QString& winePrefix);

// A Windows path ("C:\Program Files\Velmu\DB") as a path of this system, through the
// prefix's dosdevices links (c: also through drive_c when there is no link). std::nullopt
// for a path on no drive of the prefix, or one that is not absolute.
std::optional<QString> MapWinePath(const QString& winePrefix, const QString& windowsPath);

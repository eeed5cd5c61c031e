#include "settings/VelmuSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QtGlobal>

#include "settings/WineRegistry.h"

#ifdef Q_OS_WIN
#include <windows.h>

#include <string>
#include <vector>
#endif

namespace {

const QString kPrefsKey = QStringLiteral("Software\\Harlund\\Velmu\\DefaultPrefs");
const QString kOwnersKey = QStringLiteral("Software\\Harlund\\Velmu\\Owners");
const QString kDataBase = QStringLiteral("DataBase");
const QString kLastOwner = QStringLiteral("LastOwner");

// One of the two values, however the platform stores it.
struct FoundValue {
    enum class Kind { Absent, String, Dword, Other };
    Kind kind = Kind::Absent;
    QString text;
    std::uint32_t dword = 0;
};

struct Findings {
    bool prefsKey = false;
    FoundValue dataBase;
    bool ownersKey = false;
    FoundValue lastOwner;
};

VelmuSettings Failure(const QString& reason) {
    VelmuSettings result;
    result.reason = reason;
    return result;
}

// The detection's rules, the same on every platform; `mapPath` turns the stored folder
// into a local path.
template <typename MapPath>
VelmuSettings Evaluate(const Findings& found, MapPath mapPath) {
    using Kind = FoundValue::Kind;
    VelmuSettings result;
    if (found.prefsKey) {
        const QString where = QStringLiteral("HKEY_CURRENT_USER\\") + kPrefsKey;
        if (found.dataBase.kind == Kind::Absent) {
            return Failure(QStringLiteral("no \"DataBase\" value under %1").arg(where));
        }
        if (found.dataBase.kind != Kind::String) {
            return Failure(QStringLiteral("\"DataBase\" under %1 is not a string").arg(where));
        }
        // The value is read as a C string: a NUL ends it.
        const QString stored = found.dataBase.text.section(QChar(u'\0'), 0, 0);
        std::optional<QString> folder = mapPath(stored);
        if (!folder) {
            return Failure(
                QStringLiteral("\"DataBase\" (%1) does not name a local folder").arg(stored));
        }
        result.folder = std::move(*folder);
    }
    if (found.ownersKey) {
        const QString where = QStringLiteral("HKEY_CURRENT_USER\\") + kOwnersKey;
        if (found.lastOwner.kind == Kind::Absent) {
            return Failure(QStringLiteral("no \"LastOwner\" value under %1").arg(where));
        }
        if (found.lastOwner.kind != Kind::Dword) {
            return Failure(
                QStringLiteral("\"LastOwner\" under %1 is not a 32-bit number").arg(where));
        }
        result.uin = static_cast<std::int32_t>(found.lastOwner.dword);
    }
    result.ok = true;
    return result;
}

FoundValue FromWine(const RegistryKey& key, const QString& name) {
    FoundValue found;
    const RegistryValue* value = key.Find(name);
    if (value == nullptr) {
        return found;
    }
    const bool stringType = value->type == kRegSz || value->type == kRegExpandSz;
    found.kind = FoundValue::Kind::Other;
    switch (value->form) {
        case RegistryValue::Form::String:
            if (stringType) {
                found.kind = FoundValue::Kind::String;
                found.text = value->text;
            }
            break;
        case RegistryValue::Form::Dword:
            found.kind = FoundValue::Kind::Dword;
            found.dword = value->dword;
            break;
        case RegistryValue::Form::Bytes:
            // Wine writes a string without its terminator, or a DWORD of odd size, as bytes.
            if (stringType && value->bytes.size() % 2 == 0) {
                found.kind = FoundValue::Kind::String;
                found.text =
                    QString::fromUtf16(reinterpret_cast<const char16_t*>(value->bytes.constData()),
                                       value->bytes.size() / 2);
            } else if (value->type == kRegDword && value->bytes.size() == 4) {
                found.kind = FoundValue::Kind::Dword;
                for (int i = 3; i >= 0; --i) {
                    found.dword = found.dword << 8 | static_cast<unsigned char>(value->bytes[i]);
                }
            }
            break;
    }
    return found;
}

bool IsDriveLetter(QChar c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

// Where a drive of the prefix is on this system.
std::optional<QString> DriveRoot(const QString& winePrefix, QChar letter) {
    const QString drive = QString(letter.toLower()) + u':';
    const QFileInfo link(winePrefix + QStringLiteral("/dosdevices/") + drive);
    if (link.isSymLink()) {
        return QDir::cleanPath(link.symLinkTarget());
    }
    if (link.exists()) {
        return QDir::cleanPath(link.absoluteFilePath());
    }
    if (drive == u"c:") {
        return QDir::cleanPath(winePrefix + QStringLiteral("/drive_c"));
    }
    return std::nullopt;
}

}  // namespace

std::optional<QString> MapWinePath(const QString& winePrefix, const QString& windowsPath) {
    QString path = windowsPath;
    if (path.startsWith(u"\\\\?\\") || path.startsWith(u"\\??\\")) {
        path.remove(0, 4);
    }
    if (path.size() < 2 || !IsDriveLetter(path[0]) || path[1] != u':' ||
        (path.size() > 2 && path[2] != u'\\' && path[2] != u'/')) {
        return std::nullopt;  // relative, UNC, or no path at all
    }
    const std::optional<QString> root = DriveRoot(winePrefix, path[0]);
    if (!root) {
        return std::nullopt;
    }
    // "." and ".." resolved as Windows does, never above the drive's root.
    QStringList parts;
    const QStringList components = path.mid(3).replace(u'\\', u'/').split(u'/', Qt::SkipEmptyParts);
    for (const QString& part : components) {
        if (part == u"..") {
            if (!parts.isEmpty()) {
                parts.removeLast();
            }
        } else if (part != u".") {
            parts.append(part);
        }
    }
    QString local = *root;
    for (const QString& part : parts) {
        if (!local.endsWith(u'/')) {
            local += u'/';
        }
        local += part;
    }
    return local;
}

namespace {

VelmuSettings ReadFromPrefix(const QString& winePrefix) {
    const WineRegistryRead read =
        ReadWineRegistryKeys(winePrefix + QStringLiteral("/user.reg"), {kPrefsKey, kOwnersKey});
    if (!read.ok) {
        return Failure(read.reason);
    }
    Findings found;
    found.prefsKey = read.keys[0].exists;
    found.dataBase = FromWine(read.keys[0], kDataBase);
    found.ownersKey = read.keys[1].exists;
    found.lastOwner = FromWine(read.keys[1], kLastOwner);
    return Evaluate(
        found, [&winePrefix](const QString& stored) { return MapWinePath(winePrefix, stored); });
}

}  // namespace

VelmuSettings ReadVelmuSettings(const QString& winePrefix) {
    VelmuSettings result = ReadFromPrefix(winePrefix);
    result.source = winePrefix + QStringLiteral("/user.reg");
    return result;
}

#ifdef Q_OS_WIN

namespace {

FoundValue QueryValue(HKEY key, const wchar_t* name) {
    FoundValue found;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        return found;
    }
    // Room for a terminator the stored value may lack.
    std::vector<BYTE> buffer(size + sizeof(wchar_t), 0);
    DWORD length = size;
    if (RegQueryValueExW(key, name, nullptr, &type, buffer.data(), &length) != ERROR_SUCCESS) {
        return found;  // changed or vanished between the two queries
    }
    found.kind = FoundValue::Kind::Other;
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        found.kind = FoundValue::Kind::String;
        found.text = QString::fromWCharArray(reinterpret_cast<const wchar_t*>(buffer.data()),
                                             static_cast<qsizetype>(length / sizeof(wchar_t)));
    } else if (type == REG_DWORD && length == sizeof(DWORD)) {
        found.kind = FoundValue::Kind::Dword;
        found.dword = static_cast<std::uint32_t>(buffer[0]) |
                      static_cast<std::uint32_t>(buffer[1]) << 8 |
                      static_cast<std::uint32_t>(buffer[2]) << 16 |
                      static_cast<std::uint32_t>(buffer[3]) << 24;
    }
    return found;
}

// Opens a key under HKEY_CURRENT_USER and reads one value; false when the key is absent.
bool ReadKeyValue(const QString& path, const QString& name, FoundValue& value) {
    HKEY key = nullptr;
    const std::wstring widePath = path.toStdWString();
    if (RegOpenKeyExW(HKEY_CURRENT_USER, widePath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    value = QueryValue(key, name.toStdWString().c_str());
    RegCloseKey(key);
    return true;
}

}  // namespace

VelmuSettings ReadVelmuSettings() {
    Findings found;
    found.prefsKey = ReadKeyValue(kPrefsKey, kDataBase, found.dataBase);
    found.ownersKey = ReadKeyValue(kOwnersKey, kLastOwner, found.lastOwner);
    VelmuSettings result = Evaluate(found, [](const QString& stored) -> std::optional<QString> {
        if (stored.isEmpty()) {
            return std::nullopt;
        }
        return QDir::fromNativeSeparators(stored);
    });
    result.source = QStringLiteral("HKEY_CURRENT_USER\\") + kPrefsKey.section(u'\\', 0, 2);
    return result;
}

#else

VelmuSettings ReadVelmuSettings() {
    QString prefix = qEnvironmentVariable("WINEPREFIX");
    if (prefix.isEmpty()) {
        prefix = QDir::homePath() + QStringLiteral("/.wine");
    }
    return ReadVelmuSettings(prefix);
}

#endif

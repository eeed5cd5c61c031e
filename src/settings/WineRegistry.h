#pragma once

// Reader of the registry files of a Wine prefix (user.reg), where a messenger run under
// Wine keeps its settings. Only the keys asked for are kept; the file is read line by line.

#include <QByteArray>
#include <QHash>
#include <QIODevice>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;

struct RegistryValue {
    enum class Form { String, Dword, Bytes };  // how the file writes the data
    Form form = Form::Bytes;
    std::uint32_t type = kRegBinary;  // the registry's own type number
    QString text;                     // Form::String
    std::uint32_t dword = 0;          // Form::Dword
    QByteArray bytes;                 // Form::Bytes
};

struct RegistryKey {
    // True when the key is in the file, on its own or as the parent of a key that is.
    bool exists = false;
    // Values by name folded to lower case; "" is the default value ("@").
    QHash<QString, RegistryValue> values;

    const RegistryValue* Find(const QString& name) const;
};

struct WineRegistryRead {
    bool ok = false;
    QString reason;                 // why the file cannot be read
    std::vector<RegistryKey> keys;  // one per asked path, in the same order
};

// Reads the keys at `keyPaths` ("Software\\Maker\\Program", matched ignoring case) from
// a registry file. A missing file reads as one without those keys.
WineRegistryRead ReadWineRegistryKeys(const QString& file, const QStringList& keyPaths);
// The same from an open device (read errors are the caller's to check).
WineRegistryRead ReadWineRegistryKeys(QIODevice& device, const QStringList& keyPaths);

// Decodes the escapes of a quoted string of the file ("\\", "\"", "\n", "\x3042", octal
// "\101", ...) from `pos` up to an unescaped `end`, and moves `pos` past it. False when
// `end` never comes.
bool UnescapeRegistryString(const QString& line, qsizetype& pos, char16_t end, QString& out);

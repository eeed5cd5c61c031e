#include "settings/WineRegistry.h"

#include <QFile>
#include <QFileInfo>

#include <optional>

namespace {

int HexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') {
        return u - u'0';
    }
    if (u >= u'a' && u <= u'f') {
        return u - u'a' + 10;
    }
    if (u >= u'A' && u <= u'F') {
        return u - u'A' + 10;
    }
    return -1;
}

bool IsOctal(QChar c) {
    return c >= u'0' && c <= u'7';
}

char16_t ControlEscape(char16_t letter) {
    switch (letter) {
        case u'a':
            return 7;
        case u'b':
            return 8;
        case u't':
            return 9;
        case u'n':
            return 10;
        case u'v':
            return 11;
        case u'f':
            return 12;
        case u'r':
            return 13;
        case u'e':
            return 27;
        default:
            return 0;
    }
}

void SkipBlanks(const QString& line, qsizetype& pos) {
    while (pos < line.size() && (line[pos] == u' ' || line[pos] == u'\t')) {
        ++pos;
    }
}

// A hex number of 1 to 8 digits at `pos`, which moves past it.
std::optional<std::uint32_t> ParseHex(const QString& line, qsizetype& pos) {
    std::uint32_t value = 0;
    int digits = 0;
    for (; pos < line.size() && HexDigit(line[pos]) >= 0; ++pos, ++digits) {
        if (digits == 8) {
            return std::nullopt;
        }
        value = value << 4 | static_cast<std::uint32_t>(HexDigit(line[pos]));
    }
    if (digits == 0) {
        return std::nullopt;
    }
    return value;
}

// "aa,bb,cc": bytes separated by commas.
std::optional<QByteArray> ParseHexBytes(const QString& line, qsizetype pos) {
    QByteArray bytes;
    SkipBlanks(line, pos);
    while (pos < line.size()) {
        const qsizetype start = pos;
        const std::optional<std::uint32_t> byte = ParseHex(line, pos);
        if (!byte || pos - start > 2) {
            return std::nullopt;
        }
        bytes.append(static_cast<char>(*byte));
        SkipBlanks(line, pos);
        if (pos < line.size()) {
            if (line[pos] != u',') {
                return std::nullopt;
            }
            ++pos;
            SkipBlanks(line, pos);
        }
    }
    return bytes;
}

// The data after "name=": "text", str(2):"text", dword:00003039, hex:.. or hex(4):..
std::optional<RegistryValue> ParseData(const QString& line, qsizetype pos) {
    RegistryValue value;
    const QStringView data = QStringView(line).sliced(pos);
    if (data.startsWith(u"str(") || data.startsWith(u"hex(")) {
        const bool text = data.startsWith(u"str(");
        pos += 4;
        const std::optional<std::uint32_t> type = ParseHex(line, pos);
        if (!type || !QStringView(line).sliced(pos).startsWith(u"):")) {
            return std::nullopt;
        }
        pos += 2;
        value.type = *type;
        if (!text) {
            value.form = RegistryValue::Form::Bytes;
            std::optional<QByteArray> bytes = ParseHexBytes(line, pos);
            if (!bytes) {
                return std::nullopt;
            }
            value.bytes = std::move(*bytes);
            return value;
        }
    } else if (data.startsWith(u"dword:")) {
        pos += 6;
        const std::optional<std::uint32_t> number = ParseHex(line, pos);
        SkipBlanks(line, pos);
        if (!number || pos != line.size()) {
            return std::nullopt;
        }
        value.form = RegistryValue::Form::Dword;
        value.type = kRegDword;
        value.dword = *number;
        return value;
    } else if (data.startsWith(u"hex:")) {
        std::optional<QByteArray> bytes = ParseHexBytes(line, pos + 4);
        if (!bytes) {
            return std::nullopt;
        }
        value.form = RegistryValue::Form::Bytes;
        value.type = kRegBinary;
        value.bytes = std::move(*bytes);
        return value;
    } else {
        value.type = kRegSz;
    }
    if (pos >= line.size() || line[pos] != u'"') {
        return std::nullopt;
    }
    ++pos;
    value.form = RegistryValue::Form::String;
    if (!UnescapeRegistryString(line, pos, u'"', value.text)) {
        return std::nullopt;
    }
    return value;
}

// A value line: "name"=data or @=data.
void ParseValueLine(const QString& line, RegistryKey& key) {
    qsizetype pos = 0;
    QString name;
    if (line.startsWith(u'"')) {
        pos = 1;
        if (!UnescapeRegistryString(line, pos, u'"', name)) {
            return;
        }
    } else if (line.startsWith(u'@')) {
        pos = 1;
    } else {
        return;
    }
    SkipBlanks(line, pos);
    if (pos >= line.size() || line[pos] != u'=') {
        return;
    }
    ++pos;
    SkipBlanks(line, pos);
    if (std::optional<RegistryValue> value = ParseData(line, pos)) {
        key.values.insert(name.toCaseFolded(), *value);  // a later line wins
    }
}

QByteArray ReadLine(QIODevice& file) {
    QByteArray line = file.readLine();
    while (!line.isEmpty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' ' ||
                               line.back() == '\t')) {
        line.chop(1);
    }
    return line;
}

}  // namespace

const RegistryValue* RegistryKey::Find(const QString& name) const {
    const auto found = values.constFind(name.toCaseFolded());
    return found == values.constEnd() ? nullptr : &found.value();
}

bool UnescapeRegistryString(const QString& line, qsizetype& pos, char16_t end, QString& out) {
    out.clear();
    while (pos < line.size()) {
        const QChar c = line[pos++];
        if (c == end) {
            return true;
        }
        if (c != u'\\' || pos >= line.size()) {
            out += c;
            continue;
        }
        const QChar escaped = line[pos++];
        if (const char16_t control = ControlEscape(escaped.unicode())) {
            out += QChar(control);
        } else if (escaped == u'x') {
            // Up to four hex digits: one UTF-16 unit; a pair of them makes a surrogate pair.
            char16_t unit = 0;
            int digits = 0;
            for (; digits < 4 && pos < line.size() && HexDigit(line[pos]) >= 0; ++digits) {
                unit = static_cast<char16_t>(unit << 4 | HexDigit(line[pos++]));
            }
            out += digits == 0 ? QChar(u'x') : QChar(unit);
        } else if (IsOctal(escaped)) {
            char16_t unit = static_cast<char16_t>(escaped.unicode() - u'0');
            for (int digits = 1; digits < 3 && pos < line.size() && IsOctal(line[pos]); ++digits) {
                unit = static_cast<char16_t>(unit * 8 + (line[pos++].unicode() - u'0'));
            }
            out += QChar(unit);
        } else {
            out += escaped;  // \\, \", \] and any other character stand for themselves
        }
    }
    return false;
}

WineRegistryRead ReadWineRegistryKeys(const QString& fileName, const QStringList& keyPaths) {
    WineRegistryRead result;
    result.keys.resize(static_cast<std::size_t>(keyPaths.size()));
    if (!QFileInfo::exists(fileName)) {
        result.ok = true;
        return result;
    }
    if (!QFileInfo(fileName).isFile()) {
        result.reason = QStringLiteral("%1 is not a file").arg(fileName);
        return result;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        result.reason = QStringLiteral("cannot read %1: %2").arg(fileName, file.errorString());
        return result;
    }
    result = ReadWineRegistryKeys(file, keyPaths);
    if (result.ok && file.error() != QFileDevice::NoError) {
        result.ok = false;
        result.reason = QStringLiteral("cannot read %1: %2").arg(fileName, file.errorString());
    }
    return result;
}

WineRegistryRead ReadWineRegistryKeys(QIODevice& file, const QStringList& keyPaths) {
    WineRegistryRead result;
    result.keys.resize(static_cast<std::size_t>(keyPaths.size()));
    QStringList targets;
    for (const QString& path : keyPaths) {
        targets.append(path.toCaseFolded());
    }

    RegistryKey* current = nullptr;
    while (!file.atEnd()) {
        QByteArray raw = ReadLine(file);
        if (raw.startsWith('[')) {
            current = nullptr;
            const QString header = QString::fromUtf8(raw);
            qsizetype pos = 1;
            QString path;
            if (!UnescapeRegistryString(header, pos, u']', path)) {
                continue;
            }
            path = path.toCaseFolded();
            for (qsizetype i = 0; i < targets.size(); ++i) {
                RegistryKey& key = result.keys[static_cast<std::size_t>(i)];
                if (path == targets[i]) {
                    key.exists = true;
                    current = &key;
                } else if (path.startsWith(targets[i]) && path.size() > targets[i].size() &&
                           path[targets[i].size()] == u'\\') {
                    key.exists = true;  // a key whose only content is subkeys has no block
                }
            }
            continue;
        }
        if (current == nullptr || !(raw.startsWith('"') || raw.startsWith('@'))) {
            continue;
        }
        // Long binary data goes on over lines that end with a backslash.
        while (raw.endsWith('\\') && raw.contains("=hex") && !file.atEnd()) {
            raw.chop(1);
            raw += ReadLine(file).trimmed();
        }
        ParseValueLine(QString::fromUtf8(raw), *current);
    }
    result.ok = true;
    return result;
}

#include "settings/IniFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>
#include <string_view>

#include "text/ShiftJis.h"

namespace {

bool IsBlank(QChar c) {
    const char16_t u = c.unicode();
    return u == u' ' || u == u'\t' || u == u'\r' || u == u'\v' || u == u'\f';
}

// Only ASCII blanks: a full-width space at the end of a name is part of the name.
QString TrimBlanks(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && IsBlank(text[end - 1])) {
        --end;
    }
    return text.sliced(begin, end - begin).toString();
}

QString Fold(QString folded) {
    for (QChar& c : folded) {
        if (c >= u'A' && c <= u'Z') {
            c = QChar(static_cast<char16_t>(c.unicode() + (u'a' - u'A')));
        }
    }
    return folded;
}

bool HasControl(const QString& text) {
    for (QChar c : text) {
        if (c.unicode() < 0x20) {
            return true;
        }
    }
    return false;
}

bool IsValidSectionName(const QString& name) {
    return !name.isEmpty() && TrimBlanks(name) == name && !name.contains(u']') && !HasControl(name);
}

bool IsValidKeyName(const QString& key) {
    if (key.isEmpty() || TrimBlanks(key) != key || key.contains(u'=') || HasControl(key)) {
        return false;
    }
    const QChar first = key.front();
    return first != u'[' && first != u';' && first != u'#';
}

// A value is one line: characters that would end or cut the line become blanks.
QString OneLine(const QString& value) {
    QString line = value;
    for (QChar& c : line) {
        if (c == u'\r' || c == u'\n' || c == u'\0') {
            c = u' ';
        }
    }
    return line;
}

// Bytes that no text file holds; a line with one is binary in either encoding. The DOS end
// of file mark (0x1A) is left to old editors.
bool IsBinaryByte(char byte) {
    const auto u = static_cast<unsigned char>(byte);
    return u < 0x20 && u != '\t' && u != '\n' && u != '\v' && u != '\f' && u != '\r' && u != 0x1A;
}

// A line's readings: UTF-8 when the bytes are valid UTF-8, and Shift-JIS (U+FFFD for what
// does not decode).
struct LineReadings {
    std::optional<QString> utf8;
    QString shiftJis;
    bool shiftJisValid = true;
    bool ascii = true;
    bool binary = false;
};

LineReadings ReadLine(QByteArrayView raw) {
    LineReadings readings;
    for (const char byte : raw) {
        readings.ascii = readings.ascii && static_cast<unsigned char>(byte) < 0x80;
        readings.binary = readings.binary || IsBinaryByte(byte);
    }
    if (readings.ascii) {
        readings.utf8 = QString::fromLatin1(raw);
        return readings;
    }
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8.decode(raw);
    if (!utf8.hasError()) {
        readings.utf8 = std::move(text);
    }
    readings.shiftJis =
        FromShiftJis(std::string_view(raw.data(), static_cast<std::size_t>(raw.size())));
    readings.shiftJisValid = !readings.shiftJis.contains(QChar::ReplacementCharacter);
    return readings;
}

// What a Japanese user's settings plausibly hold. Half-width katakana in Shift-JIS often
// pass for two-byte UTF-8, which then reads as Cyrillic, Armenian, Hebrew and the like;
// from two-byte sequences only Latin-1 and the long vowels of romanised Japanese count.
bool IsPlausibleCharacter(char32_t c) {
    if (c < 0x80) {
        return true;
    }
    if (c < 0x800) {
        // Ā ā Ē ē Ī ī Ō ō Ū ū
        constexpr char32_t kMacronVowels[] = {0x100, 0x101, 0x112, 0x113, 0x12A,
                                              0x12B, 0x14C, 0x14D, 0x16A, 0x16B};
        return (c >= 0xA0 && c <= 0xFF) ||
               std::ranges::find(kMacronVowels, c) != std::end(kMacronVowels);
    }
    return (c >= 0x2000 && c <= 0x2BFF)        // punctuation, symbols, box drawing
           || (c >= 0x3000 && c <= 0x9FFF)     // CJK punctuation, kana, kanji
           || (c >= 0xF900 && c <= 0xFAFF)     // compatibility kanji
           || (c >= 0xFE30 && c <= 0xFE4F)     // vertical forms
           || (c >= 0xFF00 && c <= 0xFFEF)     // full- and half-width forms
           || (c >= 0x1F000 && c <= 0x1FAFF)   // emoji
           || (c >= 0x20000 && c <= 0x3FFFF);  // rare kanji
}

// Beyond the Basic Multilingual Plane: nothing of code page 932 decodes to it.
bool HasNoShiftJisForm(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isSurrogate(); });
}

bool IsPlausible(const QString& text) {
    const QList<uint> codes = text.toUcs4();
    return std::all_of(codes.begin(), codes.end(),
                       [](uint c) { return IsPlausibleCharacter(static_cast<char32_t>(c)); });
}

IniReason ReadFailure(const QFileDevice& file) {
    return file.error() == QFileDevice::PermissionsError
               ? IniReason{QStringLiteral("読み取りが許可されていません。"),
                           QStringLiteral("permission denied")}
               : IniReason{QStringLiteral("ファイルを読み込めません。"),
                           QStringLiteral("cannot be read: %1").arg(file.errorString())};
}

IniReason WriteFailure(const QFileDevice& file) {
    return file.error() == QFileDevice::PermissionsError
               ? IniReason{QStringLiteral("書き込みが許可されていません。"),
                           QStringLiteral("permission denied")}
               : IniReason{QStringLiteral("ファイルに書き込めません。"),
                           QStringLiteral("cannot be written: %1").arg(file.errorString())};
}

}  // namespace

IniFile::IniFile() {
    Clear();
}

void IniFile::Clear() {
    source_.clear();
    sections_.clear();
    sections_.emplace_back();
    sectionIndex_.clear();
    crlf_ = false;
    bom_ = false;
    shiftJisFile_ = false;
}

IniLoadResult IniFile::Load(const QString& path) {
    Clear();
    const QFileInfo info(path);
    if (!info.exists()) {
        return {IniLoadStatus::Missing, {}};
    }
    if (!info.isFile()) {
        return {IniLoadStatus::Unreadable,
                {QStringLiteral("ファイルではありません。"), QStringLiteral("not a file")}};
    }
    const IniReason tooLarge{QStringLiteral("大きすぎます（設定ファイルは %1 MiB まで）。")
                                 .arg(kMaxFileSize / (1024 * 1024)),
                             QStringLiteral("too large (a settings file has at most %1 MiB)")
                                 .arg(kMaxFileSize / (1024 * 1024))};
    if (info.size() > kMaxFileSize) {
        return {IniLoadStatus::Unreadable, tooLarge};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {IniLoadStatus::Unreadable, ReadFailure(file)};
    }
    // At most one byte past the limit, however much the file grew since it was looked at.
    const QByteArray bytes = file.read(kMaxFileSize + 1);
    if (file.error() != QFileDevice::NoError) {
        return {IniLoadStatus::Unreadable, ReadFailure(file)};
    }
    if (bytes.size() > kMaxFileSize) {
        return {IniLoadStatus::Unreadable, tooLarge};
    }
    // Such a file is someone else's and must not be overwritten.
    if (const std::size_t bad = Parse(bytes); bad != 0) {
        Clear();
        return {IniLoadStatus::Unreadable,
                {QStringLiteral("%1 行目が UTF-8 でも Shift-JIS でもありません。"
                                "テキストの設定ファイルではないようです。")
                     .arg(bad),
                 QStringLiteral("line %1 is neither UTF-8 nor Shift-JIS: this does not look "
                                "like a text settings file")
                     .arg(bad)}};
    }
    return {IniLoadStatus::Loaded, {}};
}

std::size_t IniFile::Parse(const QByteArray& bytes) {
    Clear();
    source_ = bytes;
    const QByteArrayView body(source_);
    qsizetype start = 0;
    if (body.startsWith("\xEF\xBB\xBF")) {
        bom_ = true;
        start = 3;
    }
    struct Span {
        qsizetype from;
        qsizetype size;
        qsizetype endSize;
    };
    std::vector<Span> spans;
    while (start < body.size()) {
        const qsizetype newline = body.indexOf('\n', start);
        const qsizetype next = newline < 0 ? body.size() : newline + 1;
        qsizetype lineEnd = newline < 0 ? body.size() : newline;
        if (newline >= 0 && lineEnd > start && body[lineEnd - 1] == '\r') {
            --lineEnd;
        }
        if (spans.empty()) {
            crlf_ = newline >= 0 && lineEnd < newline;
        }
        spans.push_back({start, lineEnd - start, next - lineEnd});
        start = next;
    }

    // A line valid in both encodings goes by what the rest of the file shows; a byte-order
    // mark is only ever written with UTF-8.
    std::vector<LineReadings> readings;
    readings.reserve(spans.size());
    bool utf8Seen = bom_;
    bool shiftJisSeen = false;
    for (const Span& span : spans) {
        const LineReadings& line =
            readings.emplace_back(ReadLine(body.sliced(span.from, span.size)));
        if (!line.ascii) {
            utf8Seen = utf8Seen || (line.utf8 && !line.shiftJisValid);
            shiftJisSeen = shiftJisSeen || (!line.utf8 && line.shiftJisValid);
        }
    }

    shiftJisFile_ = shiftJisSeen && !utf8Seen;
    std::size_t firstBad = 0;
    for (std::size_t i = 0; i < spans.size(); ++i) {
        LineReadings& line = readings[i];
        bool asUtf8 = line.utf8.has_value();
        if (asUtf8 && !line.ascii && line.shiftJisValid) {
            asUtf8 = utf8Seen != shiftJisSeen ? utf8Seen : IsPlausible(*line.utf8);
            // What Shift-JIS cannot hold (an emoji, say) was written in UTF-8 on purpose.
            if (shiftJisFile_ && HasNoShiftJisForm(*line.utf8) && IsPlausible(*line.utf8)) {
                asUtf8 = true;
            }
        }
        if ((line.binary || (!asUtf8 && !line.shiftJisValid)) && firstBad == 0) {
            firstBad = i + 1;
        }
        AddLine(Line{asUtf8 ? std::move(*line.utf8) : std::move(line.shiftJis), QString(),
                     spans[i].from, spans[i].size, spans[i].endSize, false});
    }
    return firstBad;
}

void IniFile::AddLine(Line line) {
    const QString trimmed = TrimBlanks(line.text);
    if (trimmed.startsWith(u'[')) {
        const qsizetype close = trimmed.indexOf(u']');
        if (close > 0) {
            Section section;
            section.name = Fold(TrimBlanks(QStringView(trimmed).sliced(1, close - 1)));
            section.header = std::move(line);
            if (!sectionIndex_.contains(section.name)) {
                sectionIndex_.insert(section.name, sections_.size());
            }
            sections_.push_back(std::move(section));
            return;
        }
    }
    Section& current = sections_.back();
    const qsizetype equals = line.text.indexOf(u'=');
    const bool comment = trimmed.startsWith(u';') || trimmed.startsWith(u'#');
    if (sections_.size() > 1 && !comment && equals >= 0) {
        line.key = Fold(TrimBlanks(QStringView(line.text).first(equals)));
    }
    current.lines.push_back(std::move(line));
    if (!current.lines.back().key.isEmpty()) {
        const std::size_t index = current.lines.size() - 1;
        if (!current.keys.contains(current.lines.back().key)) {
            current.keys.insert(current.lines.back().key, index);
        }
        current.lastKey = index;
    }
}

QByteArray IniFile::Serialize() const {
    std::vector<const Line*> lines;
    for (std::size_t s = 0; s < sections_.size(); ++s) {
        if (s > 0) {
            lines.push_back(&sections_[s].header);
        }
        for (const Line& line : sections_[s].lines) {
            lines.push_back(&line);
        }
    }
    const QByteArray eol = crlf_ ? QByteArray("\r\n") : QByteArray("\n");
    QByteArray bytes = bom_ ? QByteArray("\xEF\xBB\xBF") : QByteArray();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line& line = *lines[i];
        const QByteArrayView read = QByteArrayView(source_).sliced(line.from < 0 ? 0 : line.from);
        if (line.read()) {
            bytes += read.first(line.size + line.endSize);
        } else if (const auto shiftJis = shiftJisFile_ ? ToShiftJis(line.text) : std::nullopt) {
            bytes += QByteArray::fromStdString(*shiftJis);
        } else {
            bytes += line.text.toUtf8();
        }
        if (line.endSize > 0) {
            if (!line.read()) {
                bytes += read.sliced(line.size, line.endSize);
            }
        } else if (!line.read() || i + 1 < lines.size()) {
            // A last line read without an end stays so; anything after it needs one.
            bytes += eol;
        }
    }
    return bytes;
}

IniSaveResult IniFile::Save(const QString& path) const {
    const QByteArray bytes = Serialize();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return {false, WriteFailure(file)};
    }
    if (file.write(bytes) != bytes.size()) {
        const IniReason error = WriteFailure(file);
        file.cancelWriting();
        return {false, error};
    }
    if (!file.commit()) {
        return {false, WriteFailure(file)};
    }
    return {true, {}};
}

const IniFile::Section* IniFile::FindSection(const QString& section) const {
    const auto found = sectionIndex_.constFind(Fold(TrimBlanks(section)));
    return found == sectionIndex_.constEnd() ? nullptr : &sections_[found.value()];
}

IniFile::Section* IniFile::FindSection(const QString& section) {
    const auto found = sectionIndex_.constFind(Fold(TrimBlanks(section)));
    return found == sectionIndex_.constEnd() ? nullptr : &sections_[found.value()];
}

std::optional<QString> IniFile::Value(const QString& section, const QString& key) const {
    const Section* found = FindSection(section);
    if (found == nullptr) {
        return std::nullopt;
    }
    const auto line = found->keys.constFind(Fold(TrimBlanks(key)));
    if (line == found->keys.constEnd()) {
        return std::nullopt;
    }
    const QString& text = found->lines[line.value()].text;
    return TrimBlanks(QStringView(text).sliced(text.indexOf(u'=') + 1));
}

QString IniFile::ReadString(const QString& section, const QString& key,
                            const QString& defaultValue) const {
    return Value(section, key).value_or(defaultValue);
}

std::int32_t IniFile::ReadInt(const QString& section, const QString& key,
                              std::int32_t defaultValue) const {
    const std::optional<QString> value = Value(section, key);
    if (!value || value->isEmpty()) {
        return defaultValue;
    }
    return ParseInt(*value);
}

std::int32_t IniFile::ParseInt(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    const bool negative = i < text.size() && text[i] == u'-';
    if (negative) {
        ++i;
    }
    std::uint32_t magnitude = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        magnitude = magnitude * 10u + static_cast<std::uint32_t>(text[i].unicode() - u'0');
    }
    return static_cast<std::int32_t>(negative ? 0u - magnitude : magnitude);
}

IniFile::Section& IniFile::AddSection(const QString& name) {
    Section& last = sections_.back();
    const bool fileEmpty = sections_.size() == 1 && last.lines.empty();
    const QString& lastLine = last.lines.empty() ? last.header.text : last.lines.back().text;
    if (!fileEmpty && !TrimBlanks(lastLine).isEmpty()) {
        last.lines.push_back(Line{QString(), QString(), -1, 0, 0, false});  // keeps sections apart
    }
    Section section;
    section.name = Fold(name);
    section.header.text = u'[' + name + u']';
    sectionIndex_.insert(section.name, sections_.size());
    sections_.push_back(std::move(section));
    return sections_.back();
}

bool IniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    if (!IsValidSectionName(section) || !IsValidKeyName(key)) {
        return false;
    }
    Section* target = FindSection(section);
    if (target == nullptr) {
        target = &AddSection(section);
    }
    const QString folded = Fold(key);
    const auto existing = target->keys.constFind(folded);
    if (existing != target->keys.constEnd()) {
        Line& line = target->lines[existing.value()];
        const qsizetype equals = line.text.indexOf(u'=');
        const QString written = OneLine(value);
        if (TrimBlanks(QStringView(line.text).sliced(equals + 1)) == TrimBlanks(written)) {
            return true;  // the same value: the line stays as it is, bytes and all
        }
        line.text = TrimBlanks(QStringView(line.text).first(equals)) + u'=' + written;
        line.changed = true;
        return true;
    }
    // After the last key, so that comments and blank lines before the next section stay
    // with it; no key line moves.
    const std::size_t at = target->lastKey ? *target->lastKey + 1 : 0;
    target->lines.insert(target->lines.begin() + static_cast<std::ptrdiff_t>(at),
                         Line{key + u'=' + OneLine(value), folded, -1, 0, 0, false});
    target->keys.insert(folded, at);
    target->lastKey = at;
    return true;
}

bool IniFile::WriteInt(const QString& section, const QString& key, std::int32_t value) {
    return WriteString(section, key, QString::number(value));
}

void IniFile::RemoveKey(const QString& section, const QString& key) {
    Section* target = FindSection(section);
    if (target == nullptr) {
        return;
    }
    const QString folded = Fold(TrimBlanks(key));
    if (!target->keys.contains(folded)) {
        return;
    }
    std::erase_if(target->lines, [&folded](const Line& line) { return line.key == folded; });
    Reindex(*target);
}

void IniFile::Reindex(Section& section) {
    section.keys.clear();
    section.lastKey.reset();
    for (std::size_t i = 0; i < section.lines.size(); ++i) {
        const QString& key = section.lines[i].key;
        if (key.isEmpty()) {
            continue;
        }
        if (!section.keys.contains(key)) {
            section.keys.insert(key, i);
        }
        section.lastKey = i;
    }
}

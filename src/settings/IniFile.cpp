#include "settings/IniFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

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

QString Fold(const QString& name) {
    QString folded = name;
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

QString Decode(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) {
        return text;
    }
    return FromShiftJis(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

}  // namespace

IniFile::IniFile() {
    Clear();
}

void IniFile::Clear() {
    sections_.clear();
    sections_.emplace_back();
    sectionIndex_.clear();
    crlf_ = false;
    bom_ = false;
}

IniLoadResult IniFile::Load(const QString& path) {
    Clear();
    const QFileInfo info(path);
    if (!info.exists()) {
        return {IniLoadStatus::Missing, QString()};
    }
    if (!info.isFile()) {
        return {IniLoadStatus::Unreadable, QStringLiteral("%1 is not a file").arg(path)};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {IniLoadStatus::Unreadable,
                QStringLiteral("cannot read %1: %2").arg(path, file.errorString())};
    }
    const QByteArray bytes = file.read(kMaxFileSize + 1);
    if (file.error() != QFileDevice::NoError) {
        return {IniLoadStatus::Unreadable,
                QStringLiteral("cannot read %1: %2").arg(path, file.errorString())};
    }
    if (bytes.size() > kMaxFileSize) {
        return {IniLoadStatus::Unreadable, QStringLiteral("%1 is too large").arg(path)};
    }
    // A settings file never holds NUL bytes; such a file is someone else's and must not
    // be overwritten.
    if (bytes.contains('\0')) {
        return {IniLoadStatus::Unreadable, QStringLiteral("%1 is not a text file").arg(path)};
    }
    Parse(bytes);
    return {IniLoadStatus::Loaded, QString()};
}

void IniFile::Parse(const QByteArray& bytes) {
    Clear();
    QByteArray body = bytes;
    if (body.startsWith("\xEF\xBB\xBF")) {
        bom_ = true;
        body.remove(0, 3);
    }
    const QString text = Decode(body);
    const qsizetype firstBreak = text.indexOf(u'\n');
    crlf_ = firstBreak > 0 && text[firstBreak - 1] == u'\r';

    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        const qsizetype next = end < 0 ? text.size() : end + 1;
        if (end < 0) {
            end = text.size();
        }
        qsizetype lineEnd = end;
        if (lineEnd > start && text[lineEnd - 1] == u'\r') {
            --lineEnd;
        }
        AddLine(text.sliced(start, lineEnd - start));
        start = next;
    }
}

void IniFile::AddLine(const QString& text) {
    const QString trimmed = TrimBlanks(text);
    if (trimmed.startsWith(u'[')) {
        const qsizetype close = trimmed.indexOf(u']');
        if (close > 0) {
            Section section;
            section.name = Fold(TrimBlanks(QStringView(trimmed).sliced(1, close - 1)));
            section.header = text;
            if (!sectionIndex_.contains(section.name)) {
                sectionIndex_.insert(section.name, sections_.size());
            }
            sections_.push_back(std::move(section));
            return;
        }
    }
    Section& current = sections_.back();
    Line line{text, QString()};
    const qsizetype equals = text.indexOf(u'=');
    const bool comment = trimmed.startsWith(u';') || trimmed.startsWith(u'#');
    if (sections_.size() > 1 && !comment && equals >= 0) {
        line.key = Fold(TrimBlanks(QStringView(text).first(equals)));
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
    const QString eol = crlf_ ? QStringLiteral("\r\n") : QStringLiteral("\n");
    QString text;
    for (std::size_t s = 0; s < sections_.size(); ++s) {
        const Section& section = sections_[s];
        if (s > 0) {
            text += section.header;
            text += eol;
        }
        for (const Line& line : section.lines) {
            text += line.text;
            text += eol;
        }
    }
    QByteArray bytes = bom_ ? QByteArray("\xEF\xBB\xBF") : QByteArray();
    bytes += text.toUtf8();
    return bytes;
}

IniSaveResult IniFile::Save(const QString& path) const {
    const QByteArray bytes = Serialize();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return {false, QStringLiteral("cannot write %1: %2").arg(path, file.errorString())};
    }
    if (file.write(bytes) != bytes.size()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return {false, QStringLiteral("cannot write %1: %2").arg(path, error)};
    }
    if (!file.commit()) {
        return {false, QStringLiteral("cannot write %1: %2").arg(path, file.errorString())};
    }
    return {true, QString()};
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
    const QString& lastLine = last.lines.empty() ? last.header : last.lines.back().text;
    if (!fileEmpty && !TrimBlanks(lastLine).isEmpty()) {
        last.lines.push_back(Line{QString(), QString()});  // keeps sections apart
    }
    Section section;
    section.name = Fold(name);
    section.header = u'[' + name + u']';
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
        const QString spelling = TrimBlanks(QStringView(line.text).first(line.text.indexOf(u'=')));
        line.text = spelling + u'=' + OneLine(value);
        return true;
    }
    // After the last key, so that comments and blank lines before the next section stay
    // with it; no key line moves.
    const std::size_t at = target->lastKey ? *target->lastKey + 1 : 0;
    target->lines.insert(target->lines.begin() + static_cast<std::ptrdiff_t>(at),
                         Line{key + u'=' + OneLine(value), folded});
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

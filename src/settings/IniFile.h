#pragma once

// A private-profile (INI) file held in memory: read and written key by key, saved whole.
//
// Parsing rules:
// - "[name]" opens a section (text after the first "]" is ignored); "key=value" holds a
//   value; blanks around section names, keys and values are dropped.
// - Section and key names match ignoring ASCII letter case; the first of two equal
//   sections, and the first of two equal keys in a section, is the one that counts.
// - Lines that start with ";" or "#", lines without "=", and keys before the first section
//   are kept but never read.
// - Each line is read as UTF-8 or as Shift-JIS (as written on the messenger's home system):
//   a file edited by both keeps both. A line valid in only one of them is read in that one.
//   A line valid in both (half-width katakana pass for two-byte UTF-8) goes by the file:
//   as Shift-JIS when other lines are Shift-JIS only and none is UTF-8 only, as UTF-8 when
//   other lines are UTF-8 only (or the file starts with a byte-order mark) and none is
//   Shift-JIS only. Otherwise it is UTF-8 when that reading is plausible in Japanese
//   settings (kana, kanji, full-width forms, Latin-1, punctuation and symbols), else
//   Shift-JIS: Cyrillic or Armenian from a two-byte sequence is taken for katakana.
// - A leading byte-order mark is kept. CR LF reads like LF.
// Reading or writing a key leaves every other line, comments and blank lines included,
// where it was and byte for byte as it was, line end included; a line written anew is
// UTF-8 and ends like the file's first line.

#include <QByteArray>
#include <QHash>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

enum class IniLoadStatus {
    Loaded,
    Missing,     // no file at the path: an empty file
    Unreadable,  // there is a file, but it cannot be read, is too large or is not text
};

// Why a file could not be read or written, in the language of each program: Japanese for
// the window, English for the command line.
struct IniReason {
    QString japanese;
    QString english;
    bool isEmpty() const { return japanese.isEmpty(); }
};

struct IniLoadResult {
    IniLoadStatus status = IniLoadStatus::Missing;
    IniReason reason;  // why the file is unreadable
};

struct IniSaveResult {
    bool ok = false;
    IniReason reason;  // why the file could not be written
};

class IniFile {
public:
    // A file larger than this is not taken for a settings file (and never read whole).
    static constexpr qint64 kMaxFileSize = 4 * 1024 * 1024;

    IniFile();

    // Replaces the contents with the file at `path`; on failure the contents are empty.
    // A file with a line that is neither UTF-8 nor Shift-JIS text is unreadable.
    IniLoadResult Load(const QString& path);
    // Replaces the contents with `bytes` (never fails: anything that is not a section or
    // a key is kept as an unread line). Returns the number (from 1) of the first line
    // that is neither UTF-8 nor Shift-JIS text, 0 when there is none.
    std::size_t Parse(const QByteArray& bytes);
    // The file shows Shift-JIS lines and no UTF-8 beyond ASCII (the messenger's home system
    // wrote it): lines written anew are Shift-JIS where their text has a Shift-JIS form.
    bool shiftJisFile() const { return shiftJisFile_; }
    // The contents as bytes: unchanged lines as read, changed and new lines as UTF-8.
    // Without changes, exactly the bytes parsed.
    QByteArray Serialize() const;
    // Writes the contents atomically: a failed save leaves the previous file intact.
    IniSaveResult Save(const QString& path) const;

    // The value of a key; std::nullopt when the section or the key is absent.
    std::optional<QString> Value(const QString& section, const QString& key) const;
    QString ReadString(const QString& section, const QString& key,
                       const QString& defaultValue = QString()) const;
    // The value's leading signed decimal number, wrapping modulo 2^32 like the platform's
    // own reader; a value with no leading digit reads as 0, an absent or empty one as
    // `defaultValue`.
    std::int32_t ReadInt(const QString& section, const QString& key,
                         std::int32_t defaultValue) const;

    // Sets a key: an existing key is changed where it stands, a new key goes after the last
    // key of its section, a new section at the end of the file. Line breaks and NULs in
    // `value` become blanks. False (nothing changed) for a section or key name that
    // cannot be written as a line of the file.
    bool WriteString(const QString& section, const QString& key, const QString& value);
    bool WriteInt(const QString& section, const QString& key, std::int32_t value);
    // Removes every occurrence of the key from its section.
    void RemoveKey(const QString& section, const QString& key);

    // Reads the leading signed decimal number of a text (0 without a leading digit).
    static std::int32_t ParseInt(const QString& text);

private:
    struct Line {
        QString text;
        QString key;  // folded key name; empty for a line that is not a key
        // Where the line's bytes are in source_ (`from` -1 for a new line): unchanged,
        // they are written back from there; changed, the line keeps its line end.
        qsizetype from = -1;
        qsizetype size = 0;     // without the line end
        qsizetype endSize = 0;  // 0 for a last line without an end
        bool changed = false;
        bool read() const { return from >= 0 && !changed; }
    };
    struct Section {
        QString name;  // folded; empty for the lines before the first section
        Line header;
        std::vector<Line> lines;
        QHash<QString, std::size_t> keys;  // first line of each key
        std::optional<std::size_t> lastKey;
    };

    void Clear();
    void AddLine(Line line);
    static void Reindex(Section& section);
    const Section* FindSection(const QString& section) const;
    Section* FindSection(const QString& section);
    Section& AddSection(const QString& name);

    QByteArray source_;                         // the bytes parsed
    std::vector<Section> sections_;             // sections_[0]: lines before any section
    QHash<QString, std::size_t> sectionIndex_;  // first section of each folded name
    bool crlf_ = false;                         // new lines end in CR LF
    bool bom_ = false;
    // The file shows Shift-JIS and no UTF-8: its ambiguous lines are read as Shift-JIS, so
    // lines written anew are written in Shift-JIS too where the text has a form there.
    bool shiftJisFile_ = false;
};

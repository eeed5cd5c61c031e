// Fuzzes the settings file parser: any bytes parse, an untouched file serialises to the
// very bytes parsed, and keys written read back (after a save and a new parse) while the
// other keys keep their values.
#include <fuzzer/FuzzedDataProvider.h>

#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "settings/IniFile.h"
#include "text/ShiftJis.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

const QStringList kSections = {QStringLiteral("Log File"), QStringLiteral("Color"),
                               QStringLiteral("Member Name"), QStringLiteral("a")};
const QStringList kKeys = {QStringLiteral("Location"), QStringLiteral("DB Path"),
                           QStringLiteral("-1"),       QStringLiteral("12345"),
                           QStringLiteral("a"),        QStringLiteral("Send Text")};

std::vector<std::optional<QString>> Values(const IniFile& ini) {
    std::vector<std::optional<QString>> values;
    for (const QString& section : kSections) {
        for (const QString& key : kKeys) {
            values.push_back(ini.Value(section, key));
        }
    }
    return values;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string script = in.ConsumeBytesAsString(in.ConsumeIntegralInRange(0, 24));
    const QByteArray bytes = QByteArray::fromStdString(in.ConsumeRemainingBytesAsString());

    IniFile ini;
    ini.Parse(bytes);
    Require(ini.Serialize() == bytes);
    std::vector<std::optional<QString>> expected = Values(ini);
    // A text without a Shift-JIS form, written in UTF-8 into a file read as Shift-JIS, may
    // read back otherwise (only emoji and the like are told apart), and may change how the
    // file's other lines that read both ways are read: the values are not checked then.
    bool unchecked = false;
    ini.ReadInt(kSections[0], kKeys[0], 7);

    // Each pair of script bytes writes or removes one of the keys.
    for (std::size_t i = 0; i + 1 < script.size(); i += 2) {
        const auto op = static_cast<unsigned char>(script[i]);
        const auto s = static_cast<qsizetype>(op % kSections.size());
        const auto k = static_cast<qsizetype>(op / kSections.size() % kKeys.size());
        const std::size_t slot = static_cast<std::size_t>(s * kKeys.size() + k);
        if (op >= 0xF0) {
            ini.RemoveKey(kSections[s], kKeys[k]);
            expected[slot].reset();
            continue;
        }
        // A value from the file's own bytes, in either encoding, with blanks and breaks.
        const auto from = static_cast<qsizetype>(static_cast<unsigned char>(script[i + 1]));
        const QByteArray piece = bytes.mid(from, 12);
        QString value = FromShiftJis(piece.toStdString());
        if ((op & 1) != 0) {
            value = u' ' + value + QStringLiteral("\r\n\0");
        }
        Require(ini.WriteString(kSections[s], kKeys[k], value));
        expected[slot] = ini.Value(kSections[s], kKeys[k]);
        unchecked = unchecked || (ini.shiftJisFile() && !CanEncodeShiftJis(*expected[slot]));
    }

    IniFile again;
    again.Parse(ini.Serialize());
    Require(unchecked || Values(again) == expected);
    Require(again.Serialize() == ini.Serialize());
    return 0;
}

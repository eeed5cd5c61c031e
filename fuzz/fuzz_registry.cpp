// Fuzzes the Wine registry reader on a file held in memory, and the string unescaping
// on its own.
#include <QBuffer>
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "settings/WineRegistry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    static const QStringList kPaths = {QStringLiteral("Software\\A\\B"),
                                       QStringLiteral("Software\\A"), QStringLiteral("s")};
    const WineRegistryRead read = ReadWineRegistryKeys(buffer, kPaths);
    if (!read.ok || read.keys.size() != static_cast<std::size_t>(kPaths.size())) {
        std::abort();
    }
    for (const RegistryKey& key : read.keys) {
        key.Find(QStringLiteral("DataBase"));
        key.Find(QString());
    }

    const QString line = QString::fromUtf8(bytes);
    for (const char16_t end : {u'"', u']'}) {
        qsizetype pos = 0;
        QString out;
        while (pos < line.size()) {
            const qsizetype before = pos;
            UnescapeRegistryString(line, pos, end, out);
            if (pos <= before || pos > line.size() || out.size() > line.size()) {
                std::abort();
            }
        }
    }
    return 0;
}

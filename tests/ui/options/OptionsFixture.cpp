#include "OptionsFixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTimer>

#include <filesystem>

#include "ui/options/COptionSheet.h"

void OptionsFixture::SetUp() {
    AppFixture::SetUp();
    ASSERT_TRUE(winePrefix_.isValid());
    ASSERT_TRUE(QDir(winePrefix_.path()).mkpath(QStringLiteral("dosdevices")));
    std::filesystem::create_directory_symlink(
        "/",
        QFile::encodeName(winePrefix_.filePath(QStringLiteral("dosdevices/z:"))).toStdString());
    hadPrefix_ = qEnvironmentVariableIsSet("WINEPREFIX");
    previousPrefix_ = qgetenv("WINEPREFIX");
    qputenv("WINEPREFIX", QFile::encodeName(winePrefix_.path()));
    WriteRegistry(QByteArray());
}

void OptionsFixture::TearDown() {
    AppFixture::TearDown();
    if (hadPrefix_) {
        qputenv("WINEPREFIX", previousPrefix_);
    } else {
        qunsetenv("WINEPREFIX");
    }
}

std::unique_ptr<COptionSheet> OptionsFixture::MakeSheet() {
    return std::make_unique<COptionSheet>(app_->OptionSheetTargets());
}

void OptionsFixture::WriteRegistry(const QByteArray& body) {
    QFile file(winePrefix_.filePath(QStringLiteral("user.reg")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(
        "WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n\n" +
        body);
}

QByteArray OptionsFixture::RegistryPath(const std::string& folder) {
    QByteArray path = "Z:" + QByteArray::fromStdString(folder);
    path.replace('/', "\\\\");
    return path;
}

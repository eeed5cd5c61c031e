#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSet>

#include <algorithm>
#include <string>
#include <vector>

#include "support/QtApp.h"
#include "ui/controls/Icons.h"

namespace {

const int kSupportedTypes[] = {1, 2, 3, 4, 6, 8, 9, 10, 12, 13, 14, 15, 19};
const int kUnsupportedTypes[] = {5, 7, 11, 16, 17, 18};

QImage Render(const QIcon& icon, int size) {
    return icon.pixmap(QSize(size, size)).toImage().convertToFormat(QImage::Format_ARGB32);
}

// The share of pixels that are not wholly transparent.
double Coverage(const QImage& image) {
    int opaque = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            opaque += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
        }
    }
    return static_cast<double>(opaque) / (image.width() * image.height());
}

int ColourCount(const QImage& image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            colours.insert(image.pixel(x, y));
        }
    }
    return static_cast<int>(colours.size());
}

struct NamedIcon {
    std::string name;
    QIcon icon;
};

std::vector<NamedIcon> EveryIcon() {
    std::vector<NamedIcon> icons = {{"save", Icons::SaveAsText()},
                                    {"find", Icons::Find()},
                                    {"options", Icons::Options()},
                                    {"about", Icons::About()},
                                    {"program", Icons::Program()}};
    for (int i = 0; i < 4; ++i) {
        icons.push_back({"member " + std::to_string(i), Icons::Member(i)});
    }
    for (int i = 0; i < 20; ++i) {
        icons.push_back({"type " + std::to_string(i), Icons::EventType(i)});
    }
    return icons;
}

class IconsTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureQApplication(); }
};

TEST_F(IconsTest, EveryIconDrawsAPictureAtSixteenAndThirtyTwoPixels) {
    for (const NamedIcon& named : EveryIcon()) {
        SCOPED_TRACE(named.name);
        ASSERT_FALSE(named.icon.isNull());
        for (int size : {16, 32}) {
            SCOPED_TRACE(size);
            const QImage image = Render(named.icon, size);
            ASSERT_FALSE(image.isNull());
            EXPECT_EQ(image.size(), QSize(size, size));
            // Something visible that fills a fair part of the square, in more than one colour.
            EXPECT_GT(Coverage(image), 0.2);
            EXPECT_GE(ColourCount(image), 3);
        }
    }
}

TEST_F(IconsTest, EachMeaningHasAPictureOfItsOwn) {
    // Everything but the unsupported types, which share one picture (type 5 stands for them).
    std::vector<NamedIcon> icons;
    for (const NamedIcon& named : EveryIcon()) {
        const bool sharesUnknown =
            std::find_if(std::begin(kUnsupportedTypes), std::end(kUnsupportedTypes), [&](int type) {
                return type != 5 && named.name == "type " + std::to_string(type);
            }) != std::end(kUnsupportedTypes);
        if (!sharesUnknown) {
            icons.push_back(named);
        }
    }
    ASSERT_EQ(icons.size(), 5u + 4u + 15u);
    for (int size : {16, 32}) {
        std::vector<QImage> images;
        for (const NamedIcon& named : icons) {
            images.push_back(Render(named.icon, size));
        }
        for (std::size_t a = 0; a < icons.size(); ++a) {
            for (std::size_t b = a + 1; b < icons.size(); ++b) {
                EXPECT_NE(images[a], images[b])
                    << icons[a].name << " and " << icons[b].name << " at " << size;
            }
        }
    }
}

TEST_F(IconsTest, UnsupportedTypesShareOneNeutralPicture) {
    const QImage unknown = Render(Icons::EventType(kUnsupportedTypes[0]), 32);
    for (int type : kUnsupportedTypes) {
        EXPECT_EQ(Render(Icons::EventType(type), 32), unknown) << "type " << type;
    }
    EXPECT_NE(unknown, Render(Icons::EventType(0), 32)) << "unknown must differ from error";
    for (int type : kSupportedTypes) {
        EXPECT_NE(Render(Icons::EventType(type), 32), unknown) << "type " << type;
    }
}

TEST_F(IconsTest, ImageNumbersOutsideAStripGiveImageZero) {
    const QImage error = Render(Icons::EventType(0), 32);
    for (int image : {-1, 20, 21, 65535}) {
        EXPECT_EQ(Render(Icons::EventType(image), 32), error) << "type image " << image;
    }
    const QImage folder = Render(Icons::Member(0), 32);
    for (int image : {-1, 4, 100}) {
        EXPECT_EQ(Render(Icons::Member(image), 32), folder) << "member image " << image;
    }
}

// A picture added to resources/icons but not to talvora.qrc would never reach the program.
TEST_F(IconsTest, EveryPictureInTheResourceFolderIsCompiledIn) {
    const QDir source(QStringLiteral(TALVORA_RESOURCES_DIR "/icons"));
    const QStringList files = source.entryList({QStringLiteral("*.svg")}, QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        QFile compiled(QStringLiteral(":/icons/") + name);
        ASSERT_TRUE(compiled.open(QIODevice::ReadOnly));
        QFile original(source.filePath(name));
        ASSERT_TRUE(original.open(QIODevice::ReadOnly));
        EXPECT_EQ(compiled.readAll(), original.readAll());
    }
    EXPECT_EQ(QDir(QStringLiteral(":/icons")).entryList(QDir::Files), files);
}

}  // namespace

#include "ui/stats/CGraphCtrl.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>

#include <optional>

#include "stats/DistributionGraph.h"
#include "support/QtApp.h"

namespace {

const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kLit = qRgb(0, 255, 0);
const QRgb kUnlit = qRgb(0, 102, 0);

// A font whose height is `pixels`, when the platform has one.
std::optional<QFont> FontOfHeight(int pixels) {
    QStringList families = QFontDatabase::families();
    families.prepend(QFont().family());
    for (const QString& family : families) {
        QFont font(family);
        for (int size = 4; size < 40; ++size) {
            font.setPixelSize(size);
            if (QFontMetrics(font).height() == pixels) {
                return font;
            }
        }
    }
    return std::nullopt;
}

// 24 hour bars on the page's geometry, in a client area of 311 x 206 whose text is 12
// pixels high: bars 10 wide at x = 10 + 12 i, cells 2 high at y = 181 - 3 k.
class GraphCtrlTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::optional<QFont> font = FontOfHeight(12);
        if (!font) {
            GTEST_SKIP() << "no font 12 pixels high";
        }
        graph.setFont(*font);
        graph.resize(311, 206);
        graph.SetGraphGeometry(DistributionGeometry());
        graph.SetLabels({});
    }

    void SetHours(std::map<std::int32_t, std::int32_t> set) {
        std::map<std::int32_t, std::int32_t> values;
        for (std::int32_t i = 0; i < 24; ++i) {
            values[i] = set.count(i) != 0 ? set[i] : 0;
        }
        graph.SetValues(values);
    }

    QImage Render() {
        QImage image(graph.size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        graph.render(&image);
        return image;
    }

    static int BarLeft(int bar) { return 10 + 12 * bar; }
    static int CellTop(int cell) { return 181 - 3 * cell; }

    // How many cells of the bar are lit, checking that each cell is lit or unlit all over.
    static int LitCells(const QImage& image, int bar) {
        int lit = 0;
        for (int cell = 0; cell < 50; ++cell) {
            const QRgb colour = image.pixel(BarLeft(bar), CellTop(cell));
            EXPECT_EQ(image.pixel(BarLeft(bar) + 9, CellTop(cell) + 1), colour)
                << bar << "/" << cell;
            EXPECT_TRUE(colour == kLit || colour == kUnlit) << bar << "/" << cell;
            lit += colour == kLit ? 1 : 0;
        }
        return lit;
    }

    QApplication& app = EnsureQApplication();  // before any widget
    CGraphCtrl graph;
};

TEST_F(GraphCtrlTest, CellsAndGapsLieWhereTheLayoutPutsThem) {
    SetHours({});
    const QImage image = Render();
    for (int bar = 0; bar < 24; ++bar) {
        const int left = BarLeft(bar);
        for (int y : {181, 182, 34, 35}) {  // the lowest and the highest cell
            EXPECT_EQ(image.pixel(left, y), kUnlit) << bar << "," << y;
            EXPECT_EQ(image.pixel(left + 9, y), kUnlit) << bar << "," << y;
            EXPECT_EQ(image.pixel(left + 10, y), kBlack) << bar << "," << y;  // bar gap
            EXPECT_EQ(image.pixel(left + 11, y), kBlack) << bar << "," << y;
        }
        EXPECT_EQ(image.pixel(left, 183), kBlack);  // gap above the label band
        EXPECT_EQ(image.pixel(left, 180), kBlack);  // gap between cells 0 and 1
        EXPECT_EQ(image.pixel(left, 33), kBlack);   // above the top cell
    }
    // Margins, and what the integer divisions leave at the right.
    for (int x : {0, 9, 298, 310}) {
        EXPECT_EQ(image.pixel(x, 100), kBlack) << x;
    }
    EXPECT_EQ(image.pixel(15, 5), kBlack);
    EXPECT_EQ(image.pixel(15, 200), kBlack);
}

TEST_F(GraphCtrlTest, ABarIsLitUpToItsOwnValue) {
    // Minimum 0, maximum 100: a cell stands for 2, and a bar lights the cells its value
    // exceeds, so the largest bar stops one short of the top.
    SetHours({{0, 100}, {1, 3}, {2, 2}, {3, 51}});
    QImage image = Render();
    EXPECT_EQ(LitCells(image, 0), 49);
    EXPECT_EQ(image.pixel(BarLeft(0), CellTop(48)), kLit);
    EXPECT_EQ(image.pixel(BarLeft(0), CellTop(49)), kUnlit);
    EXPECT_EQ(LitCells(image, 1), 1);
    EXPECT_EQ(LitCells(image, 2), 0);
    EXPECT_EQ(LitCells(image, 3), 25);
    EXPECT_EQ(LitCells(image, 4), 0);

    // Between 10 and 20 a cell stands for 0.2, yet the bar's whole value is compared: 20
    // and 11 fill their bars, 10 stops one short.
    SetHours({});
    std::map<std::int32_t, std::int32_t> values;
    for (std::int32_t i = 0; i < 24; ++i) {
        values[i] = 10 + i % 11;
    }
    graph.SetValues(values);
    image = Render();
    EXPECT_EQ(LitCells(image, 10), 50);  // 20
    EXPECT_EQ(LitCells(image, 1), 50);   // 11
    EXPECT_EQ(LitCells(image, 0), 49);   // 10

    // All equal: full when above 0.
    values.clear();
    for (std::int32_t i = 0; i < 24; ++i) {
        values[i] = 7;
    }
    graph.SetValues(values);
    image = Render();
    EXPECT_EQ(LitCells(image, 5), 50);
}

TEST_F(GraphCtrlTest, LabelsAreDrawnUnderTheirBarsInTheLabelBand) {
    SetHours({});
    graph.SetLabels({{0, QStringLiteral("0")}, {23, QStringLiteral("23")}});
    const QImage image = Render();
    auto inkIn = [&image](int left, int right, int top, int bottom) {
        int ink = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                const QRgb c = image.pixel(x, y);
                ink += qGreen(c) > 100 && qRed(c) < 60 ? 1 : 0;
            }
        }
        return ink;
    };
    // Label i is centred on x = 15 + 12 i, between y = 184 and 196.
    EXPECT_GT(inkIn(9, 22, 184, 196), 0);
    EXPECT_GT(inkIn(15 + 12 * 23 - 12, 15 + 12 * 23 + 12, 184, 196), 0);
    EXPECT_EQ(inkIn(9, 22, 196, 206), 0);
    EXPECT_EQ(inkIn(30, 270, 184, 206), 0);  // bars without labels
}

TEST_F(GraphCtrlTest, TooSmallAnAreaLeavesOnlyTheBackground) {
    SetHours({{0, 5}});
    graph.resize(40, 30);
    const QImage image = Render();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            ASSERT_EQ(image.pixel(x, y), kBlack) << x << "," << y;
        }
    }
}

}  // namespace

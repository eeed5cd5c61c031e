// A CSV export opened in a spreadsheet must show history text as text: a message or a name
// such as =HYPERLINK(...) must never become a live formula.
#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <QProcess>
#include <QStandardPaths>
#include <QString>

#include <array>
#include <string>
#include <vector>

#include "database/MessageDatabase.h"
#include "export/ExportText.h"
#include "support/CsvReader.h"
#include "support/TestHistory.h"
#include "text/ShiftJis.h"

namespace {

// One text for each leading character that starts a formula (or, after TAB or CR, does
// in some spreadsheets), and texts that have nothing to fear.
const std::array<std::string, 6> kFormulas = {"=HYPERLINK(\"http://evil.example/\",\"click\")",
                                              "+1+2",
                                              "-1+2",
                                              "@SUM(1,2)",
                                              "\t=1+1",
                                              "\r=1+1"};
const std::array<std::string, 4> kOrdinary = {"a-b", "メモ - 了解 -", "it's", "1+1="};

constexpr std::size_t kName = 6;
constexpr std::size_t kText = 7;
constexpr std::size_t kDescription = 8;

class CsvFormulas : public ::testing::Test {
protected:
    // Member 100 + i is named kFormulas[i] and sends it; member 200 sends the ordinary texts;
    // then a URL message whose description is a formula, and last a record cut short by the
    // end of the file (written by the slow path for events that fail to decode).
    CsvFormulas() {
        for (std::size_t i = 0; i < kFormulas.size(); ++i) {
            h_.Message(100 + static_cast<std::int32_t>(i), Sjis(kFormulas[i]));
        }
        for (const std::string& text : kOrdinary) {
            h_.Message(200, Sjis(text));
        }
        WriterRecord url;
        url.type = 4;
        url.uin = 200;
        url.text = "=1+1\xFEhttp://x.test/";
        h_.writer.AppendEvent(200, url);
        h_.Message(100, "-cut short");
        h_.writer.TruncateData(h_.writer.DataSize() - 3);
        EXPECT_TRUE(db_.Open(h_.paths.data, h_.paths.index));
        for (std::size_t i = 0; i < kFormulas.size(); ++i) {
            db_.SetMemberName(100 + static_cast<std::int32_t>(i), Sjis(kFormulas[i]));
        }
        db_.SetMemberName(200, Sjis("普通-の名前"));
        ExportOptions options;
        options.format = ExportFormat::Csv;
        EXPECT_TRUE(ExportToFile(db_, ALL_MEMBERS, RowSelection::All(), options, csv_).ok);
    }

    static std::string Sjis(const std::string& utf8) { return ShiftJisFromUtf8(utf8).value(); }

    TestHistory h_;
    MessageDatabase db_;
    std::string csv_ = h_.folder.File("out.csv");
};

TEST_F(CsvFormulas, CellsThatStartAFormulaGetAnApostropheAndOthersStayAsTheyAre) {
    const std::string bytes = ReadFileBytes(csv_);
    const auto records = ReadCsv(std::string_view(bytes).substr(3));
    ASSERT_TRUE(records.has_value()) << bytes;
    ASSERT_EQ(records->size(), 1 + kFormulas.size() + kOrdinary.size() + 2);
    const auto row = [&](std::size_t newest) -> const std::vector<std::string>& {
        return (*records)[1 + newest];
    };

    EXPECT_EQ(row(0)[kText], "'-cut short");
    EXPECT_EQ(row(1)[kName], "普通-の名前");
    EXPECT_EQ(row(1)[kDescription], "'=1+1");
    for (std::size_t i = 0; i < kOrdinary.size(); ++i) {
        EXPECT_EQ(row(2 + i)[kText], kOrdinary[kOrdinary.size() - 1 - i]);
    }
    for (std::size_t i = 0; i < kFormulas.size(); ++i) {
        const std::vector<std::string>& r = row(2 + kOrdinary.size() + i);
        const std::string& formula = kFormulas[kFormulas.size() - 1 - i];
        EXPECT_EQ(r[kName], "'" + formula);
        EXPECT_EQ(r[kText], "'" + formula);
    }
    // The neutralised cell is quoted, which keeps it text also for an import that treats
    // quoted cells as text.
    EXPECT_NE(bytes.find(",\"'+1+2\",\"'+1+2\","), std::string::npos) << bytes;
}

std::string NameOf(const xmlNode* node) {
    return reinterpret_cast<const char*>(node->name);
}

// The text of a paragraph, tabs spelled out.
void AppendParagraph(const xmlNode* node, std::string& text) {
    for (; node != nullptr; node = node->next) {
        if (node->type == XML_TEXT_NODE) {
            text += reinterpret_cast<const char*>(node->content);
        } else if (node->type == XML_ELEMENT_NODE && NameOf(node) == "tab") {
            text += '\t';
        } else if (node->type == XML_ELEMENT_NODE) {
            AppendParagraph(node->children, text);
        }
    }
}

// The cells of every table row, each the text it shows (paragraphs joined by LF);
// `formulas` counts the cells that hold a formula.
void ReadCells(const xmlNode* node, std::vector<std::vector<std::string>>& rows, int& formulas) {
    for (; node != nullptr; node = node->next) {
        if (node->type != XML_ELEMENT_NODE) {
            continue;
        }
        if (NameOf(node) == "table-row") {
            rows.emplace_back();
        } else if (NameOf(node) == "table-cell" && !rows.empty()) {
            formulas += xmlHasProp(node, reinterpret_cast<const xmlChar*>("formula")) ? 1 : 0;
            std::string text;
            bool first = true;
            for (const xmlNode* p = node->children; p != nullptr; p = p->next) {
                if (p->type == XML_ELEMENT_NODE && NameOf(p) == "p") {
                    text += first ? "" : "\n";
                    first = false;
                    AppendParagraph(p->children, text);
                }
            }
            xmlChar* repeat =
                xmlGetProp(node, reinterpret_cast<const xmlChar*>("number-columns-repeated"));
            rows.back().insert(rows.back().end(),
                               repeat != nullptr ? std::stoul(reinterpret_cast<char*>(repeat)) : 1,
                               text);
            xmlFree(repeat);
            continue;
        }
        ReadCells(node->children, rows, formulas);
    }
}

std::string WithLf(std::string text) {
    for (std::size_t at; (at = text.find('\r')) != std::string::npos;) {
        text.replace(at, text[at + 1] == '\n' ? 2 : 1, "\n");
    }
    return text;
}

// One conversion by LibreOffice, with formulas evaluated as its import does by default
// (unprotected, =1+1 comes out as a formula cell).
TEST_F(CsvFormulas, LibreOfficeImportsEveryCellAsText) {
    QString office = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (office.isEmpty()) {
        office = QStandardPaths::findExecutable(QStringLiteral("libreoffice"));
    }
    if (office.isEmpty()) {
        GTEST_SKIP() << "LibreOffice (soffice) is not installed: apt-get install "
                        "libreoffice-calc-nogui";
    }
    // A profile and home of its own: runs as root, beside a running LibreOffice and in
    // parallel with itself.
    const QString folder = QString::fromStdString(h_.folder.Path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), folder);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(office, {QStringLiteral("-env:UserInstallation=file://") + folder +
                               QStringLiteral("/profile"),
                           QStringLiteral("--headless"), QStringLiteral("--norestore"),
                           QStringLiteral("--convert-to"), QStringLiteral("fods"),
                           QStringLiteral("--infilter=Text - txt - csv (StarCalc):44,34,76,1"),
                           QStringLiteral("--outdir"), folder, QString::fromStdString(csv_)});
    ASSERT_TRUE(process.waitForFinished(100000))
        << "LibreOffice did not finish in 100 s: " << process.errorString().toStdString();
    const std::string log = process.readAll().toStdString();
    ASSERT_EQ(process.exitCode(), 0) << log;

    xmlDocPtr doc =
        xmlReadFile(h_.folder.File("out.fods").c_str(), nullptr, XML_PARSE_NONET | XML_PARSE_HUGE);
    ASSERT_NE(doc, nullptr) << log;
    std::vector<std::vector<std::string>> cells;
    int formulas = 0;
    ReadCells(xmlDocGetRootElement(doc), cells, formulas);
    xmlFreeDoc(doc);
    EXPECT_EQ(formulas, 0);

    const std::string bytes = ReadFileBytes(csv_);
    const auto records = ReadCsv(std::string_view(bytes).substr(3));
    ASSERT_TRUE(records.has_value());
    ASSERT_EQ(cells.size(), records->size());
    for (std::size_t r = 0; r < cells.size(); ++r) {
        cells[r].resize(10);
        for (const std::size_t c : {kName, kText, kDescription}) {
            EXPECT_EQ(cells[r][c], WithLf((*records)[r][c])) << "row " << r << " column " << c;
        }
    }
}

}  // namespace

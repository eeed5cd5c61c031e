// Each format is read back with a real parser (an RFC 4180 reader, Qt's JSON parser,
// libxml2's HTML parser) and compared with the events the history holds.
#include <gtest/gtest.h>
#include <libxml/HTMLparser.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "database/MessageDatabase.h"
#include "export/ExportText.h"
#include "export/HtmlText.h"
#include "support/CsvReader.h"
#include "support/TestHistory.h"
#include "text/ShiftJis.h"

namespace {

// 2000-03-05 09:07:03 as the events show it on a UTC+9 machine.
constexpr std::int32_t kSundayMorning = 952247223 - 18 * 3600;

const std::string kTricky =
    "<script>alert(1)</script> & 見て http://example.com/a?b=1&c=2 と javascript:alert(2) "
    "と mailto:a@example.com?attach=/etc/passwd";

struct Expected {
    int entry;
    bool decoded;
    std::string time, direction;
    int type;
    std::string typeName;
    int uin;
    std::string name, text, description, url;
};

// The list of all members, newest first.
const std::vector<Expected> kRows = {
    {3, false, "", "", 0, "エラー", 0, "", "このイベントはデータが壊れていて読み出せません", "",
     ""},
    {2, true, "2000-03-06T09:07:03+09:00", "受信", 4, "URL メッセージ", 777, "名前",
     "[URLの説明]\r\nサイト\r\n\r\n[URL]\r\nhttp://x.test/", "サイト", "http://x.test/"},
    {1, true, "2000-03-05T09:08:03+09:00", "送信", 1, "メッセージ", 777, "名前", kTricky, "", ""},
    {0, true, "2000-03-05T09:07:03+09:00", "受信", 1, "メッセージ", 12345, "12345",
     "最初, \"引用\"\r\n二行目", "", ""},
};

std::string Sjis(const std::string& utf8) {
    return ShiftJisFromUtf8(utf8).value();
}

std::string Utf8(const QJsonValue& value) {
    return value.toString().toStdString();
}

class ExportFormats : public ::testing::Test {
protected:
    ExportFormats() : tz_("JST-9") {
        h_.Message(12345, Sjis(kRows[3].text), kSundayMorning);
        h_.Message(777, Sjis(kTricky), kSundayMorning + 60, Sent);
        WriterRecord url;
        url.type = 4;
        url.uin = 777;
        url.text = Sjis("サイト") + "\xFEhttp://x.test/";
        url.stamp = kSundayMorning + 86400;
        h_.writer.AppendEvent(777, url);
        WriterRecord broken;
        broken.marker = 0x1234;
        h_.writer.AppendEvent(5, broken);
        EXPECT_TRUE(db_.Open(h_.paths.data, h_.paths.index));
        db_.SetMemberName(777, Sjis("名前"));
        options_.owner = OwnerFromDataFile(db_.dataPath());
        options_.colors = {0x00FFEECC, 0x00332211, 0x00F0F0F0, 0x00000080};
    }

    std::string Export(ExportFormat format, const RowSelection& rows = RowSelection::All()) {
        options_.format = format;
        const ExportResult result = ExportToFile(db_, ALL_MEMBERS, rows, options_, out_);
        EXPECT_TRUE(result.ok) << result.error;
        return ReadFileBytes(out_);
    }

    ScopedTimeZone tz_;
    TestHistory h_;
    MessageDatabase db_;
    ExportOptions options_;
    std::string out_ = h_.folder.File("out");
};

TEST_F(ExportFormats, CsvReadsBackAsTheEvents) {
    const std::string bytes = Export(ExportFormat::Csv);
    ASSERT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
    const auto records = ReadCsv(std::string_view(bytes).substr(3));
    ASSERT_TRUE(records.has_value()) << bytes;
    ASSERT_EQ(records->size(), kRows.size() + 1);
    EXPECT_EQ((*records)[0],
              (std::vector<std::string>{"entry", "time", "direction", "type", "typeName", "uin",
                                        "name", "text", "description", "url"}));
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        const Expected& e = kRows[i];
        EXPECT_EQ(
            (*records)[i + 1],
            (std::vector<std::string>{
                std::to_string(e.entry), e.time, e.direction, std::to_string(e.type), e.typeName,
                e.decoded ? std::to_string(e.uin) : "", e.name, e.text, e.description, e.url}))
            << "row " << i;
    }
}

void ExpectJsonEvent(const QJsonObject& o, const Expected& e) {
    SCOPED_TRACE("entry " + std::to_string(e.entry));
    EXPECT_EQ(o.value(QStringLiteral("entry")).toInt(-1), e.entry);
    EXPECT_EQ(o.value(QStringLiteral("decoded")).toBool(!e.decoded), e.decoded);
    EXPECT_EQ(o.value(QStringLiteral("type")).toInt(-1), e.type);
    EXPECT_EQ(Utf8(o.value(QStringLiteral("typeName"))), e.typeName);
    if (!e.decoded) {
        EXPECT_EQ(Utf8(o.value(QStringLiteral("error"))), e.text);
        EXPECT_EQ(o.size(), 5) << "nothing but the failure";
        return;
    }
    EXPECT_EQ(Utf8(o.value(QStringLiteral("time"))), e.time);
    EXPECT_EQ(Utf8(o.value(QStringLiteral("direction"))), e.direction);
    EXPECT_EQ(o.value(QStringLiteral("uin")).toInt(-1), e.uin);
    EXPECT_EQ(Utf8(o.value(QStringLiteral("name"))), e.name);
    EXPECT_EQ(Utf8(o.value(QStringLiteral("text"))), e.text);
    EXPECT_EQ(o.contains(QStringLiteral("url")), !e.url.empty());
    if (!e.url.empty()) {
        EXPECT_EQ(Utf8(o.value(QStringLiteral("description"))), e.description);
        EXPECT_EQ(Utf8(o.value(QStringLiteral("url"))), e.url);
    }
}

TEST_F(ExportFormats, JsonAndJsonLinesReadBackAsTheEvents) {
    QJsonParseError error{};
    const std::string json = Export(ExportFormat::Json);
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(json), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << json;
    const QJsonObject root = doc.object();
    EXPECT_EQ(root.value(QStringLiteral("owner")).toInt(), TestHistory::kOwner);
    const QJsonObject member = root.value(QStringLiteral("member")).toObject();
    EXPECT_EQ(member.value(QStringLiteral("key")).toInt(), ALL_MEMBERS);
    EXPECT_EQ(Utf8(member.value(QStringLiteral("name"))), "全メンバー");
    const QJsonArray events = root.value(QStringLiteral("events")).toArray();
    ASSERT_EQ(events.size(), static_cast<qsizetype>(kRows.size()));
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        ExpectJsonEvent(events.at(static_cast<qsizetype>(i)).toObject(), kRows[i]);
    }

    const std::string lines = Export(ExportFormat::JsonLines);
    std::size_t start = 0;
    for (const Expected& e : kRows) {
        const std::size_t end = lines.find('\n', start);
        ASSERT_NE(end, std::string::npos);
        const QJsonDocument line = QJsonDocument::fromJson(
            QByteArray::fromStdString(lines.substr(start, end - start)), &error);
        ASSERT_EQ(error.error, QJsonParseError::NoError);
        ExpectJsonEvent(line.object(), e);
        start = end + 1;
    }
    EXPECT_EQ(start, lines.size());

    // A member without events is still a document.
    options_.format = ExportFormat::Json;
    options_.owner.reset();
    ASSERT_TRUE(ExportToFile(db_, 4242, RowSelection::All(), options_, out_).ok);
    EXPECT_EQ(ReadFileBytes(out_),
              "{\"owner\":null,\"member\":{\"key\":4242,\"name\":\"4242\"},"
              "\"events\":[]}\n");
}

// What an HTML parser makes of one event.
struct HtmlEvent {
    std::string id, classes, time, direction, name, type, text;
    std::vector<std::string> links;
};

struct HtmlPage {
    std::string lang, style;
    std::vector<std::string> headings, elements;
    std::vector<HtmlEvent> events;
};

std::string Attribute(xmlNode* node, const char* name) {
    xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
    std::string text = value != nullptr ? reinterpret_cast<const char*>(value) : "";
    xmlFree(value);
    return text;
}

std::string Content(xmlNode* node) {
    xmlChar* value = xmlNodeGetContent(node);
    std::string text = value != nullptr ? reinterpret_cast<const char*>(value) : "";
    xmlFree(value);
    return text;
}

void Walk(xmlNode* node, HtmlPage& page, HtmlEvent* event) {
    for (; node != nullptr; node = node->next) {
        if (node->type != XML_ELEMENT_NODE) {
            continue;
        }
        const std::string tag = reinterpret_cast<const char*>(node->name);
        const std::string cls = Attribute(node, "class");
        page.elements.push_back(tag);
        HtmlEvent* inner = event;
        if (tag == "html")
            page.lang = Attribute(node, "lang");
        if (tag == "style")
            page.style = Content(node);
        if (tag == "h2")
            page.headings.push_back(Content(node));
        if (tag == "div" && cls.rfind("event ", 0) == 0) {
            page.events.push_back({Attribute(node, "id"), cls, "", "", "", "", "", {}});
            inner = &page.events.back();
        }
        if (event != nullptr) {
            if (tag == "a")
                event->links.push_back(Attribute(node, "href"));
            for (auto [name, field] : {std::pair{"time", &event->time},
                                       {"direction", &event->direction},
                                       {"name", &event->name},
                                       {"type", &event->type},
                                       {"text", &event->text}}) {
                if (cls == name)
                    *field = Content(node);
            }
        }
        Walk(node->children, page, inner);
    }
}

HtmlPage ParseHtml(const std::string& html) {
    HtmlPage page;
    htmlDocPtr doc = htmlReadMemory(html.data(), static_cast<int>(html.size()), nullptr, "UTF-8",
                                    HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET);
    EXPECT_NE(doc, nullptr);
    if (doc != nullptr) {
        Walk(xmlDocGetRootElement(doc), page, nullptr);
        xmlFreeDoc(doc);
    }
    return page;
}

std::string WithoutCr(std::string text) {
    std::erase(text, '\r');
    return text;
}

// The page is a conversation: oldest first, whether all rows or some are chosen.
TEST_F(ExportFormats, HtmlReadsBackOldestFirstEscapedWithOnlyWebLinks) {
    const HtmlPage page = ParseHtml(Export(ExportFormat::Html));
    EXPECT_EQ(page.lang, "ja");
    EXPECT_EQ(page.headings, (std::vector<std::string>{"2000/03/05 日", "2000/03/06 月"}));
    for (const std::string& tag : page.elements) {
        EXPECT_TRUE(tag != "script" && tag != "img" && tag != "link" && tag != "iframe") << tag;
    }
    EXPECT_NE(page.style.find(".sent{margin-left:auto;background:#cceeff;color:#112233}"),
              std::string::npos);
    EXPECT_NE(page.style.find(".received{margin-right:auto;background:#f0f0f0;color:#800000}"),
              std::string::npos);

    ASSERT_EQ(page.events.size(), kRows.size());
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        const Expected& e = kRows[kRows.size() - 1 - i];
        const HtmlEvent& h = page.events[i];
        SCOPED_TRACE("row " + std::to_string(i));
        EXPECT_EQ(h.id, "e" + std::to_string(e.entry));
        EXPECT_EQ(h.classes, e.decoded ? (e.direction == "送信" ? "event sent" : "event received")
                                       : "event received error");
        EXPECT_EQ(h.time, e.decoded ? e.time.substr(11, 8) : "");
        EXPECT_EQ(h.direction, e.direction);
        EXPECT_EQ(h.name, e.name);
        EXPECT_EQ(h.type, e.typeName);
        EXPECT_EQ(h.text, WithoutCr(e.text));
    }
    EXPECT_EQ(page.events[2].links, (std::vector<std::string>{"http://x.test/"}));
    EXPECT_EQ(page.events[1].links,
              (std::vector<std::string>{"http://example.com/a?b=1&c=2", "mailto:a@example.com"}));
    EXPECT_TRUE(page.events[0].links.empty());

    const HtmlPage some = ParseHtml(Export(ExportFormat::Html, RowSelection::Rows({1, 3, 2})));
    ASSERT_EQ(some.events.size(), 3u);
    EXPECT_EQ(some.events[0].id, "e0");
    EXPECT_EQ(some.events[2].id, "e2");
}

// "error" always holds a failure text; a record cut short by the end of the file keeps the
// text read so far in "text".
TEST(ExportUndecoded, JsonErrorIsTheFailureTextAndACutShortRecordKeepsItsText) {
    TestHistory h;
    WriterRecord unknown;
    unknown.type = 300;
    unknown.uin = 7;
    h.writer.AppendEvent(7, unknown);
    h.Message(7, Sjis("途中で切れた"));
    ASSERT_TRUE(h.writer.TruncateData(h.writer.DataSize() - 3));
    MessageDatabase db;
    ASSERT_TRUE(db.Open(h.paths.data, h.paths.index));
    ExportOptions options;
    for (const ExportFormat format : {ExportFormat::Json, ExportFormat::JsonLines}) {
        options.format = format;
        ASSERT_TRUE(ExportToFile(db, 7, RowSelection::All(), options, h.folder.File("out")).ok);
        std::string bytes = ReadFileBytes(h.folder.File("out"));
        if (format == ExportFormat::JsonLines) {
            // The lines as one array.
            std::replace(bytes.begin(), bytes.end(), '\n', ',');
            bytes = '[' + bytes.substr(0, bytes.size() - 1) + ']';
        }
        const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(bytes));
        const QJsonArray events = format == ExportFormat::Json
                                      ? doc.object().value(QStringLiteral("events")).toArray()
                                      : doc.array();
        ASSERT_EQ(events.size(), 2) << bytes;
        const QJsonObject cut = events.at(0).toObject();
        EXPECT_EQ(Utf8(cut.value(QStringLiteral("error"))),
                  "このイベントはデータが壊れていて読み出せません");
        EXPECT_EQ(Utf8(cut.value(QStringLiteral("text"))), "途中で切れた");
        const QJsonObject unsupported = events.at(1).toObject();
        EXPECT_EQ(Utf8(unsupported.value(QStringLiteral("error"))),
                  "このイベントはサポートされていないか壊れています");
        EXPECT_FALSE(unsupported.contains(QStringLiteral("text")));
    }
}

bool HasC1Control(std::string_view utf8) {
    for (std::size_t at = utf8.find('\xC2'); at != std::string_view::npos && at + 1 < utf8.size();
         at = utf8.find('\xC2', at + 1)) {
        if (static_cast<unsigned char>(utf8[at + 1]) <= 0x9F) {
            return true;
        }
    }
    return false;
}

// HTML allows no C1 control, neither raw nor as a reference (&#128; to &#159; stand for other
// characters), so each becomes U+FFFD; the rest of U+0080 to U+00FF stays.
TEST(ExportHtml, C1ControlsBecomeReplacementCharacters) {
    std::string out;
    AppendHtmlEscaped("a\xC2\x80\xC2\x9F\xC2\xA0\xC2\xBF\xC3\x80", out);
    EXPECT_EQ(out, "a\xEF\xBF\xBD\xEF\xBF\xBD\xC2\xA0\xC2\xBF\xC3\x80");

    // Shift-JIS 0x80 is U+0080: in a text (the fast path) and in a name.
    TestHistory h;
    h.Message(7, "x\x80y");
    MessageDatabase db;
    ASSERT_TRUE(db.Open(h.paths.data, h.paths.index));
    db.SetMemberName(7, "\x80");
    ExportOptions options;
    options.format = ExportFormat::Html;
    ASSERT_TRUE(ExportToFile(db, 7, RowSelection::All(), options, h.folder.File("out")).ok);
    const std::string page = ReadFileBytes(h.folder.File("out"));
    EXPECT_FALSE(HasC1Control(page)) << page;
    EXPECT_NE(page.find("x\xEF\xBF\xBDy"), std::string::npos);
    EXPECT_NE(page.find("<span class=\"name\">\xEF\xBF\xBD</span>"), std::string::npos);
}

}  // namespace

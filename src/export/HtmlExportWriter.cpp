#include "export/HtmlExportWriter.h"

#include "database/Digits.h"
#include "database/EventCells.h"
#include "database/EventRecord.h"
#include "database/MessageDatabase.h"
#include "export/HtmlText.h"

namespace {

// 0x00BBGGRR as the settings keep it, to "#rrggbb".
std::string CssColor(std::uint32_t value) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string css = "#";
    for (const int shift : {0, 8, 16}) {
        const std::uint32_t byte = (value >> shift) & 0xFF;
        css += kHex[byte >> 4];
        css += kHex[byte & 0xF];
    }
    return css;
}

// "09:07:03" as the list shows it; formatted in place in the usual case.
void AppendListTime(const std::tm& t, std::string& out) {
    if (!digits::AppendClockTime(t.tm_hour, t.tm_min, t.tm_sec, out)) {
        out.append(FormatListTime(t));
    }
}

constexpr const char* kStyle =
    "body{font-family:sans-serif;margin:1em auto;max-width:50em;padding:0 1em;"
    "background:#fff;color:#000}"
    "h1{font-size:1.3em}"
    "h2{font-size:.95em;font-weight:normal;text-align:center;color:#555;"
    "border-bottom:1px solid #ccc;margin:1.5em 0 .5em}"
    ".event{margin:.5em 0;padding:.4em .7em;border-radius:.5em;max-width:75%;width:fit-content}"
    ".event p{margin:0}"
    ".head{font-size:.8em;opacity:.75}"
    ".head span+span{margin-left:.6em}"
    ".text{white-space:pre-wrap;overflow-wrap:anywhere}"
    ".error{border:1px dashed #c00}";

}  // namespace

HtmlExportWriter::HtmlExportWriter(MessageDatabase& db, std::int32_t key,
                                   const ExportOptions& options)
    : db_(db),
      fields_(db),
      key_(key),
      memberName_(ExportMemberName(db, key)),
      colors_(options.colors) {}

void HtmlExportWriter::Begin(std::string& out) {
    out.append(
        "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
        "style-src 'unsafe-inline'\">\n"
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>");
    AppendHtmlEscaped(memberName_, out);
    out.append("</title>\n<style>");
    out.append(kStyle);
    out.append(".sent{margin-left:auto;background:" + CssColor(colors_.sendBackground) +
               ";color:" + CssColor(colors_.sendText) + "}");
    out.append(".received{margin-right:auto;background:" + CssColor(colors_.receiveBackground) +
               ";color:" + CssColor(colors_.receiveText) + "}");
    out.append("</style>\n</head>\n<body>\n<h1>");
    AppendHtmlEscaped(memberName_, out);
    out.append(" <small>(" + std::to_string(key_) + ")</small></h1>\n");
}

void HtmlExportWriter::DayHeading(const EventRecord& record, std::string& out) {
    const std::tm& t = record.time;
    const int day = (t.tm_year * 16 + t.tm_mon) * 32 + t.tm_mday;
    if (day == lastDay_) {
        return;
    }
    lastDay_ = day;
    out.append("<h2>");
    scratch_.clear();
    fields_.Append(FormatListDate(t), scratch_);
    AppendHtmlEscaped(scratch_, out);
    out.append("</h2>\n");
}

void HtmlExportWriter::Event(const ExportEvent& event, std::string& out) {
    const EventRecord& record = event.record;
    const bool sent = event.decoded && record.direction != Received;
    if (event.decoded) {
        DayHeading(record, out);
    }
    out.append(sent ? "<div class=\"event sent" : "<div class=\"event received");
    out.append(event.decoded ? "\" id=\"e" : " error\" id=\"e");
    digits::AppendNumber(event.entryNumber, out);
    out.append("\">\n<p class=\"head\">");
    if (event.decoded) {
        out.append("<span class=\"time\">");
        AppendListTime(record.time, out);  // digits and colons only
        out.append(sent ? "</span><span class=\"direction\">送信"
                        : "</span><span class=\"direction\">受信");
        out.append("</span><span class=\"name\">");
        out.append(names_.Get(record.uin, [this](std::int32_t uin, std::string& name) {
            scratch_.clear();
            fields_.Append(db_.MemberName(uin), scratch_);
            AppendHtmlEscaped(scratch_, name);
        }));
        out.append("</span>");
    }
    out.append(types_.Get(record.type, [this](std::int32_t type, std::string& text) {
        text.append("<span class=\"type\">");
        AppendHtmlEscaped(fields_.TypeNameOf(static_cast<std::uint16_t>(type)), text);
        text.append("</span></p>\n<p class=\"text\">");
    }));
    // Only a text that needs escapes or may hold an address is written again.
    if (!fields_.AppendIfPlain(record.text, out, scratch_, IsPlainHtml)) {
        AppendHtmlWithLinks(scratch_, out);
    }
    out.append("</p>\n</div>\n");
}

void HtmlExportWriter::End(std::string& out) {
    out.append("</body>\n</html>\n");
}

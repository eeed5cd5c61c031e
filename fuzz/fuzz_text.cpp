// Fuzzes the Shift-JIS conversions, which must agree with each other, the list cells of an
// event whose fields (calendar time included) are anything at all, and the hit list's
// matchers: a switch only adds hits, and the bytes looked for in the file are in every
// text the folded pattern is found in.
#include <fuzzer/FuzzedDataProvider.h>

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "database/EventCells.h"
#include "database/MessageDatabase.h"
#include "search/FoldNeedles.h"
#include "search/HitMatcher.h"
#include "text/ShiftJis.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void CheckConversions(std::string_view bytes) {
    const QString text = FromShiftJis(bytes);
    const std::string utf8 = Utf8FromShiftJis(bytes);
    Require(utf8 == text.toUtf8().toStdString());
    std::string appended = "x";
    AppendUtf8FromShiftJis(bytes, appended);
    Require(appended == "x" + utf8);

    // What decodes encodes back to bytes that decode the same.
    const std::optional<std::string> encoded = ToShiftJis(text);
    Require(encoded.has_value() == CanEncodeShiftJis(text));
    if (encoded) {
        Require(FromShiftJis(*encoded) == text);
        Require(ShiftJisLength(text) == encoded->size());
        Require(ShiftJisFromUtf8(utf8) == encoded);
    }
    // The input taken for UTF-8 goes the same way by both routes.
    const QString asUtf8 = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    const std::optional<std::string> direct = ShiftJisFromUtf8(bytes);
    if (direct) {
        Require(direct == ToShiftJis(asUtf8));
    }
}

void CheckCells(FuzzedDataProvider& in) {
    EventRecord record;
    record.type = in.ConsumeIntegral<std::uint16_t>();
    record.uin = in.ConsumeIntegral<std::int32_t>();
    record.direction = in.ConsumeIntegral<std::uint32_t>();
    for (int* field :
         {&record.time.tm_year, &record.time.tm_mon, &record.time.tm_mday, &record.time.tm_wday,
          &record.time.tm_hour, &record.time.tm_min, &record.time.tm_sec}) {
        *field = in.ConsumeBool() ? in.ConsumeIntegralInRange(-1, 60) : in.ConsumeIntegral<int>();
    }
    const bool decoded = in.ConsumeBool();
    record.text = in.ConsumeRandomLengthString(256);
    MessageDatabase db;
    if (in.ConsumeBool()) {
        db.SetMemberName(record.uin, in.ConsumeRandomLengthString(64));
    }
    EventCells cells;
    FillEventCells(db, record, decoded, cells);
    Require(!cells.type.empty() && cells.text == record.text);
    Require(decoded == !cells.date.empty() && decoded == !cells.uin.empty());
}

void CheckMatchers(FuzzedDataProvider& in) {
    const std::string pattern = in.ConsumeRandomLengthString(16);
    const std::string text = in.ConsumeRandomLengthString(256);
    const bool plainHit = TextMatcher(pattern, {}).Find(text).has_value();
    for (unsigned bits = 1; bits < 8; ++bits) {
        const MatchOptions options{(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0};
        const std::optional<TextSpan> hit = TextMatcher(pattern, options).Find(text);
        Require(hit.has_value() || !plainHit);
        Require(!hit || hit->start + hit->length <= text.size());
        const auto needles = FoldNeedles(pattern, options);
        if (hit && needles) {
            bool held = false;
            for (const std::string& needle : *needles) {
                held = held || text.find(needle) != std::string::npos;
            }
            Require(held);
        }
    }
    for (TextMode mode : {TextMode::AllWords, TextMode::Regex}) {
        const std::optional<TextSpan> hit = HitMatcher(pattern, mode, {true}).Find(text);
        Require(!hit || hit->start + hit->length <= text.size());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckConversions(std::string_view(reinterpret_cast<const char*>(data), size));
    FuzzedDataProvider in(data, size);
    CheckCells(in);
    CheckMatchers(in);
    return 0;
}

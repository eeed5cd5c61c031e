#include "database/EventTypes.h"

#include <array>
#include <string_view>

#include "database/DatabaseTexts.h"
#include "database/EventRecord.h"

namespace {

// Names of type 0 and of the decoded types, indexed by code 0..20. The entries of codes
// that are not decoded are never shown: TypeName formats those codes instead.
constexpr std::array<std::string_view, 21> kTypeNames = {
    "\x83G\x83\x89\x81[",  // 0 エラー
    "\x83\x81\x83"
    "b\x83Z\x81[\x83W",  // 1 メッセージ
    "\x83`\x83\x83\x83"
    "b\x83g \x83\x8A\x83N\x83G\x83X\x83g",  // 2 チャット リクエスト
    "\x83t\x83@\x83"
    "C\x83\x8B \x83\x8A\x83N\x83G\x83X\x83g",  // 3 ファイル リクエスト
    "URL \x83\x81\x83"
    "b\x83Z\x81[\x83W",  // 4 URL メッセージ
    "",                  // 5
    "\x94"
    "F\x89\xC2\x83\x8A\x83N\x83G\x83X\x83g",  // 6 認可リクエスト
    "",                                       // 7
    "authorization",                          // 8
    "\x83V\x83X\x83"
    "e\x83\x80 \x83\x8A\x83N\x83G\x83X\x83g",  // 9 システム リクエスト
    "\x93"
    "d\x98"
    "b\x81^\x83r\x83"
    "f\x83I\x81^\x83"
    "f\x81[\x83^\x83\x8A\x83N\x83G\x83X\x83g",
    // 10 電話／ビデオ／データリクエスト
    "",                                                                 // 11
    "\x83\x8A\x83X\x83g\x82\xD6\x82\xCC\x92\xC7\x89\xC1\x92\xCA\x92m",  // 12 リストへの追加通知
    "WWWPage\x83\x81\x83"
    "b\x83Z\x81[\x83W",                                         // 13 WWWPageメッセージ
    "E\x83\x81\x81[\x83\x8B\x83G\x83N\x83X\x83v\x83\x8C\x83X",  // 14 Eメールエクスプレス
    "\x93"
    "d\x8Eq\x83\x81\x81[\x83\x8B\x83\x81\x83"
    "b\x83Z\x81[\x83W",              // 15 電子メールメッセージ
    "",                              // 16
    "",                              // 17
    "",                              // 18
    "\x83R\x83\x93\x83^\x83N\x83g",  // 19 コンタクト
    "",                              // 20
};

}  // namespace

bool IsSupportedType(std::uint16_t type) {
    switch (type) {
        case 1:
        case 2:
        case 3:
        case 4:
        case 6:
        case 8:
        case 9:
        case 10:
        case 12:
        case 13:
        case 14:
        case 15:
        case 19:
            return true;
        default:
            return false;
    }
}

std::string TypeName(std::uint16_t type) {
    if (type == 0 || IsSupportedType(type)) {
        return std::string(kTypeNames[type]);
    }
    std::string name(dbtext::kTypePrefix);
    name += std::to_string(static_cast<unsigned>(type));
    return name;
}

void BuildDisplayText(std::uint16_t type, std::string_view raw, std::string& out) {
    if (type == 10) {
        out.assign(dbtext::kUnsupported);
        return;
    }
    if (type != 4) {
        out.assign(raw);
        return;
    }
    // A URL message holds a description and an address separated by the byte 0xFE; a text
    // without the separator is all description.
    std::string_view description = raw;
    std::string_view address;
    if (std::size_t sep = raw.find('\xFE'); sep != std::string_view::npos) {
        description = raw.substr(0, sep);
        address = raw.substr(sep + 1);
    }
    out.clear();
    out.reserve(dbtext::kUrlDescriptionHead.size() + description.size() + dbtext::kUrlGap.size() +
                dbtext::kUrlHead.size() + address.size());
    out.append(dbtext::kUrlDescriptionHead);
    out.append(description);
    out.append(dbtext::kUrlGap);
    out.append(dbtext::kUrlHead);
    out.append(address);
}

std::string_view DirectionName(std::uint32_t direction) {
    return direction == Received ? dbtext::kReceived : dbtext::kSent;
}

std::string_view WeekdayName(int wday) {
    if (wday < 0 || wday > 6) {
        return {};
    }
    return dbtext::kWeekdays[static_cast<std::size_t>(wday)];
}

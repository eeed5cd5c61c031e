#pragma once

// The fixed texts of the message database, as Shift-JIS bytes (the database's encoding).
// scripts/sjis-literal.py produces these literals from the Japanese text.

#include <array>
#include <string_view>

namespace dbtext {

// このイベントはデータが壊れていて読み出せません
inline constexpr std::string_view kCorrupt =
    "\x82\xB1\x82\xCC\x83"
    "C\x83x\x83\x93\x83g\x82\xCD\x83"
    "f\x81[\x83^\x82\xAA\x89\xF3\x82\xEA"
    "\x82\xC4\x82\xA2\x82\xC4\x93\xC7\x82\xDD\x8Fo\x82\xB9\x82\xDC\x82\xB9\x82\xF1";
// このイベントはサポートされていないか壊れています
inline constexpr std::string_view kUnsupported =
    "\x82\xB1\x82\xCC\x83"
    "C\x83x\x83\x93\x83g\x82\xCD\x83T\x83|\x81[\x83g\x82\xB3\x82\xEA\x82\xC4"
    "\x82\xA2\x82\xC8\x82\xA2\x82\xA9\x89\xF3\x82\xEA\x82\xC4\x82\xA2\x82\xDC\x82\xB7";

// Direction names, indexed by EventRecord::direction (0 received, 1 sent).
inline constexpr std::string_view kReceived = "\x8E\xF3\x90M";  // 受信
inline constexpr std::string_view kSent = "\x91\x97\x90M";      // 送信
inline constexpr std::string_view kReceivedEvent =
    "\x8E\xF3\x90M\x83"
    "C\x83x\x83\x93\x83g";  // 受信イベント
inline constexpr std::string_view kSentEvent =
    "\x91\x97\x90M\x83"
    "C\x83x\x83\x93\x83g";  // 送信イベント

// Day-of-week names, 0 Sunday to 6 Saturday: 日 月 火 水 木 金 土.
inline constexpr std::array<std::string_view, 7> kWeekdays = {
    "\x93\xFA", "\x8C\x8E", "\x89\xCE", "\x90\x85", "\x96\xD8", "\x8B\xE0", "\x93y"};

// URL message layout: "[URLの説明]\r\n" description "\r\n\r\n" "[URL]\r\n" address.
inline constexpr std::string_view kUrlDescriptionHead = "[URL\x82\xCC\x90\xE0\x96\xBE]\r\n";
inline constexpr std::string_view kUrlGap = "\r\n\r\n";
inline constexpr std::string_view kUrlHead = "[URL]\r\n";

// "タイプ %d", the name of a type that is not decoded.
inline constexpr std::string_view kTypePrefix =
    "\x83^\x83"
    "C\x83v ";

}  // namespace dbtext

#pragma once

// Texts of the member property sheet (UTF-8).
namespace membertext {

inline constexpr char kCaption[] = "プロパティ";
inline constexpr char kGeneralTab[] = "全般";
inline constexpr char kHourTab[] = "グラフ(時間)";
inline constexpr char kWeekdayTab[] = "グラフ(曜日)";
inline constexpr char kTimelineTab[] = "年月別";

inline constexpr char kMember[] = "メンバー";
inline constexpr char kAllMembers[] = "全メンバー";
inline constexpr char kNone[] = "-";
inline constexpr char kUinLabel[] = "UIN :";
inline constexpr char kNameLabel[] = "名前 :";
inline constexpr char kCountsCaption[] = "イベント別送受信数";
inline constexpr char kTypeColumn[] = "種類";
inline constexpr char kSentColumn[] = "送信数";
inline constexpr char kReceivedColumn[] = "受信数";
inline constexpr char kTotalColumn[] = "合計";

inline constexpr char kHourCaption[] = "１時間ごとのイベント分布";
inline constexpr char kWeekdayCaption[] = "曜日ごとのイベント分布";
inline constexpr char kTimelineCaption[] = "月ごとのイベント分布";
inline constexpr char kSentLegend[] = "送信";
inline constexpr char kReceivedLegend[] = "受信";

inline constexpr char kOk[] = "OK";
inline constexpr char kCancel[] = "キャンセル";

}  // namespace membertext

#pragma once

// Texts of the hit list and the go-to-date dialog (UTF-8). The criteria that the find
// dialog also has come with their controls (ui/controls/SearchCriteriaControls).
namespace hit_texts {

inline constexpr char kWindowTitle[] = "すべて検索";
inline constexpr char kMembersGroup[] = "メンバー";
inline constexpr char kAllMembers[] = "すべてのメンバー(&A)";
inline constexpr char kSelectedMember[] = "選択されているメンバー(&M)";
inline constexpr char kOptionsGroup[] = "オプション";
inline constexpr char kIgnoreCase[] = "英字の大文字と小文字を区別しない(&C)";
inline constexpr char kIgnoreWidth[] = "全角と半角を区別しない(&W)";
inline constexpr char kIgnoreKana[] = "ひらがなとカタカナを区別しない";
inline constexpr char kAllWords[] = "すべての語を含む";
inline constexpr char kRegex[] = "正規表現";
inline constexpr char kStart[] = "検索開始(&S)";
inline constexpr char kStop[] = "中止(&T)";

// Columns of the hit list.
inline constexpr char kNameColumn[] = "名前";
inline constexpr char kDateColumn[] = "日付";
inline constexpr char kTimeColumn[] = "時間";
inline constexpr char kDirectionColumn[] = "送受信";
inline constexpr char kTextColumn[] = "情報";

// Status bar: %1 events examined of %2, %3 hits.
inline constexpr char kSearching[] = "検索中... %1 / %2 件を調べました (%3 件見つかりました)";
inline constexpr char kFinished[] = "検索を終えました: %1 件見つかりました";
inline constexpr char kStopped[] = "検索を中止しました: %1 件見つかりました";
// A regular expression that does not compile: %1 the character it stopped at (from 1),
// %2 the reason.
inline constexpr char kBadRegex[] = "正規表現の誤り (%1 文字目): %2";
inline constexpr char kHistoryChanged[] = "ログが開き直されました。もう一度検索してください";

inline constexpr char kGoToDateTitle[] = "日付へ移動";
inline constexpr char kGoToDateLabel[] = "移動する日付(&D):";
inline constexpr char kOk[] = "OK";
inline constexpr char kCancel[] = "キャンセル";

}  // namespace hit_texts

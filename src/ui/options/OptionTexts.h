#pragma once

// Texts of the options sheet (UTF-8).
namespace optiontext {

inline constexpr char kAppTitle[] = "Talvora";
inline constexpr char kCaption[] = "環境設定";
inline constexpr char kOk[] = "OK";
inline constexpr char kCancel[] = "キャンセル";
inline constexpr char kApply[] = "適用(&A)";

// The file page.
inline constexpr char kFileTab[] = "ファイル";
inline constexpr char kLocationGroup[] = "ログファイルの場所";
inline constexpr char kFolderMode[] = "Velmuのデータベースフォルダを指定";
inline constexpr char kFolderLabel[] = "フォルダ :";
inline constexpr char kUinLabel[] = "Velmu # :";
inline constexpr char kReadSettings[] = "Velmuの設定を読み込む...";
inline constexpr char kScanHistories[] = "履歴を探す...";
inline constexpr char kFilesMode[] = "ログファイルを指定";
inline constexpr char kDataLabel[] = "データ :";
inline constexpr char kIndexLabel[] = "インデックス :";
inline constexpr char kBrowse[] = "...";
inline constexpr char kFolderPrompt[] = "Velmuのデータベースフォルダを選択してください";
inline constexpr char kDataFilter[] =
    "Velmuログデータファイル (*msg.dat)|*msg.dat| すべてのファイル (*.*) |*.*|";
inline constexpr char kIndexFilter[] =
    "Velmuログインデックスファイル (*msg.idx)|*msg.idx| すべてのファイル (*.*) |*.*|";
inline constexpr char kLocationUnset[] = "Velmuのログファイルが正しく指定されていません";
inline constexpr char kReadSettingsQuestion[] = "Velmuの設定を読みこんでよろしいですか";
inline constexpr char kReadSettingsFailed[] = "Velmuの設定を読み込めませんでした";
inline constexpr char kSettingsNotFound[] = "Velmuの設定が見つかりませんでした";
// The second line of both: where the messenger's settings were looked for.
inline constexpr char kSettingsSource[] = "調べた場所: %1";
// The zone the times are shown by (empty: the machine's own).
inline constexpr char kTimeGroup[] = "時刻の表示";
inline constexpr char kTimeZoneLabel[] = "タイムゾーン(&Z):";
inline constexpr char kMachineZone[] = "このコンピューターの設定";
// %1: the name typed.
inline constexpr char kUnknownZone[] =
    "タイムゾーン「%1」が見つかりません。Asia/Tokyo のような名前で指定してください。";

// The colour page.
inline constexpr char kColorTab[] = "色";
inline constexpr char kColorGroup[] = "リストの表示色";
inline constexpr char kSentSample[] = "送信イベント";
inline constexpr char kReceivedSample[] = "受信イベント";
inline constexpr char kSelectedSample[] = "選択項目";
inline constexpr char kTextColor[] = "文字色...";
inline constexpr char kBackColor[] = "背景色...";
inline constexpr char kRestoreColors[] = "標準の色に戻す...";
inline constexpr char kRestoreQuestion[] = "標準の色に戻してよろしいですか";

// The members page.
inline constexpr char kMembersTab[] = "メンバー";
inline constexpr char kMembersGroup[] = "メンバー情報";
inline constexpr char kNameColumn[] = "名前";
inline constexpr char kUinColumn[] = "UIN";
inline constexpr char kRename[] = "名前の変更(&R)";

// The history search.
inline constexpr char kScanCaption[] = "履歴を探す";
inline constexpr char kScanOwner[] = "所有者";
inline constexpr char kScanEvents[] = "件数";
inline constexpr char kScanPeriod[] = "期間";
inline constexpr char kScanFolder[] = "フォルダ";
inline constexpr char kScanStop[] = "中止(&S)";
inline constexpr char kScanChoose[] = "選択";
inline constexpr char kScanRunning[] = "検索中: %1 フォルダ、%2 件の履歴 (%3)";
inline constexpr char kScanDone[] = "%1 フォルダを調べ、%2 件の履歴が見つかりました。";
inline constexpr char kScanStopped[] =
    "中止しました: %1 フォルダを調べ、%2 件の履歴が見つかりました。";
inline constexpr char kScanSkipped[] = " 読めないフォルダ %1 件は飛ばしました。";
inline constexpr char kScanCopy[] = "%1 のコピー";
inline constexpr char kScanDamaged[] = "読めない部分があります";

}  // namespace optiontext

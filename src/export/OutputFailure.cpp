#include "export/OutputFailure.h"

#include <cerrno>
#include <cstring>

namespace {

std::string SystemReasonJa(int code) {
    switch (code) {
        case ENOENT:
            return "フォルダーが見つかりません。";
        case EACCES:
        case EPERM:
            return "書き込みが許可されていません。";
        case ENOSPC:
        case EDQUOT:
            return "ディスクの空きが足りません。";
        case EROFS:
            return "読み取り専用のファイルシステムです。";
        case EISDIR:
            return "フォルダーです。";
        case ENOTDIR:
            return "途中にフォルダーでないものがあります。";
        case ENAMETOOLONG:
            return "ファイル名が長すぎます。";
        case ELOOP:
            return "シンボリックリンクが多すぎるか、循環しています。";
        case EEXIST:
            return "一時ファイルを作れませんでした。";
        case EIO:
            return "入出力エラーが起きました。";
        case EPIPE:
            return "書き込み先が閉じられました。";
        default:
            return "書き込めませんでした（エラー番号 " + std::to_string(code) + "）。";
    }
}

}  // namespace

std::string OutputFailureText(const OutputFailure& failure) {
    switch (failure.kind) {
        case OutputFailure::Kind::None:
            return {};
        case OutputFailure::Kind::NoName:
            return "cannot write: no file name";
        case OutputFailure::Kind::HistoryFile:
            return "refusing to write " + failure.path + ": it is a file of the history being read";
        case OutputFailure::Kind::ProtectedFile:
            return "refusing to write " + failure.path + ": it is the settings file in use";
        case OutputFailure::Kind::NotWritable:
            return "cannot write " + failure.path + ": the file is read-only for you";
        case OutputFailure::Kind::Interrupted:
            return "cannot write " + failure.path + ": interrupted";
        case OutputFailure::Kind::NotAnArchive:
        case OutputFailure::Kind::OtherHistory:
            return "refusing to write " + failure.path + ": " + failure.detail +
                   " (it was left as it is; --rebuild replaces it)";
        case OutputFailure::Kind::Archive:
            return "cannot write " + failure.path + ": " + failure.detail;
        case OutputFailure::Kind::System:
            break;
    }
    return "cannot write " + failure.path + ": " + std::strerror(failure.code);
}

std::string OutputFailureReasonJa(const OutputFailure& failure) {
    switch (failure.kind) {
        case OutputFailure::Kind::None:
            return {};
        case OutputFailure::Kind::NoName:
            return "ファイル名がありません。";
        case OutputFailure::Kind::HistoryFile:
            return "読み込んでいる履歴のファイルです。上書きしません。";
        case OutputFailure::Kind::ProtectedFile:
            return "使用中の設定ファイルです。上書きしません。";
        case OutputFailure::Kind::NotWritable:
            return "読み取り専用のファイルです。";
        case OutputFailure::Kind::Interrupted:
            return "中断されました。";
        case OutputFailure::Kind::NotAnArchive:
            return "Talvora のアーカイブではありません。上書きしません。";
        case OutputFailure::Kind::OtherHistory:
            return "別の履歴のアーカイブです。上書きしません。";
        case OutputFailure::Kind::Archive:
            return "アーカイブを書き込めませんでした（" + failure.detail + "）。";
        case OutputFailure::Kind::System:
            break;
    }
    return SystemReasonJa(failure.code);
}

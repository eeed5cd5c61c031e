#pragma once

// Texts of the member tree (UTF-8).
inline constexpr char kMembersRootLabel[] = "メンバー";
inline constexpr char kAllMembersLabel[] = "全メンバー";
inline constexpr char kNameTooLong[] = "名前が長すぎます";
inline constexpr char kNameUnencodable[] = "この名前には使えない文字が含まれています";
inline constexpr char kAppTitle[] = "Talvora";

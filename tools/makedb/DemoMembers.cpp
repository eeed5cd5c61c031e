#include "makedb/DemoMembers.h"

const std::vector<DemoMember>& DemoMembers() {
    using G = MemberGroup;
    static const std::vector<DemoMember> members = {
        {3456123, "佐藤 美咲", G::Friend, 12, 0, true},
        {345612, "鈴木 大輔", G::Friend, 9, 0, true},
        {7788990, "高橋 さくら", G::Friend, 8, 0, true},
        {12034567, "田中 翔太", G::Friend, 6, 0, true},
        {2098765, "伊藤 遥", G::Friend, 5, 0.1, true},
        {43210987, "渡辺 健一", G::Friend, 3, 0, true},
        {55123456, "山本 愛", G::Friend, 4, 0.35, true},
        {6061234, "中村 陸", G::Friend, 2, 0, false},
        {987654, "小林 結衣", G::Friend, 3, 0.5, true},
        {100200300, "加藤 拓海", G::Friend, 1.5, 0, false},
        {2233445, "吉田 彩", G::Friend, 1.5, 0.2, false},
        {31415926, "山田 蓮", G::Friend, 1, 0, false},
        {8675309, "松本 七海", G::Friend, 2, 0.6, true},
        {4455667, "井上 悠斗", G::Friend, 1, 0, false},
        {27182818, "木村 真由", G::Friend, 0.8, 0.4, false},
        {161803, "林 颯太", G::Friend, 0.6, 0, false},
        {5566778, "清水 葵", G::Friend, 0.5, 0.75, false},
        {90807060, "山崎 湊", G::Friend, 0.4, 0, false},
        {3030303, "森 美月", G::Friend, 0.3, 0.85, false},
        {7000111, "池田 大和", G::Friend, 0.2, 0, false},
        {1357924, "お母さん", G::Family, 5, 0, true},
        {2468013, "お父さん", G::Family, 1.5, 0, true},
        {11223344, "姉", G::Family, 2, 0, true},
        {5012345, "斎藤 誠", G::Work, 4, 0, true},
        {5012388, "橋本 由美", G::Work, 3, 0.15, false},
        {5013001, "石川 隆", G::Work, 2, 0, false},
        {5019876, "前田 恵", G::Work, 1.5, 0.45, false},
        {5020202, "藤田 浩二", G::Work, 1, 0, false},
        {5023456, "岡田 智子", G::Work, 0.6, 0.7, false},
        {448877665, "Emily Clark", G::English, 2, 0.25, true},
        {312345678, "Tom Baker", G::English, 1, 0, false},
        {209998877, "Sarah Lee", G::English, 0.6, 0.55, false},
        {601234567, "David Miller", G::English, 0.3, 0.8, false},
        {99887766, "", G::Stranger, 0, 0.3, false},
        {777777, "", G::Stranger, 0, 0.65, false},
        {123456789, "", G::Stranger, 0, 0.9, false},
    };
    return members;
}

#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

enum class MemberGroup { Friend, Family, Work, English, Stranger };

struct DemoMember {
    std::int32_t key;
    std::string_view name;  // UTF-8
    MemberGroup group;
    double activity;  // share of the conversations, relative
    double joined;    // when the member was added, as a fraction of the history (0: before)
    bool named;       // the demo settings give the display name
};

// The members of the demo history (the fixed keys 1 and 10 are not among them).
const std::vector<DemoMember>& DemoMembers();

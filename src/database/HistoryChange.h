#pragma once

#include <cstdint>
#include <vector>

// What a live check found the open pair to be since the last look.
enum class HistoryState {
    Unchanged,  // nothing new (a half-written entry is not taken yet)
    Appended,   // new entries were taken
    Replaced,   // the pair is no longer what was read (another file, rewritten in place,
                // cut short): it has to be opened again; nothing new was taken from it
    Gone,       // a file of the pair is no longer at its path
};

struct HistoryChange {
    HistoryChange() = default;
    explicit HistoryChange(HistoryState s) : state(s) {}

    HistoryState state = HistoryState::Unchanged;
    // For Appended: the entryNumber of the first entry taken, the members that existed
    // before and got entries (ALL_MEMBERS among them), and the members first named by the
    // new entries, each in ascending key order.
    std::int32_t firstNewEntry = 0;
    std::vector<std::int32_t> grownMembers;
    std::vector<std::int32_t> newMembers;
    // With Unchanged or Appended: the data file grew where records were cut short before,
    // so rows decoded from them read otherwise now.
    bool recordsCompleted = false;
};

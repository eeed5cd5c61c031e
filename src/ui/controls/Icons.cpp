#include "ui/controls/Icons.h"

#include <QString>

#include <array>

namespace {

constexpr int kMemberImages = 4;
constexpr int kEventTypeImages = 20;

QIcon Load(const QString& name) {
    return QIcon(QStringLiteral(":/icons/") + name + QStringLiteral(".svg"));
}

// Every icon is made at once, on first use: this also makes Qt's icon-engine loader exist
// before the set, so it is still there when the set is destroyed at exit.
struct IconSet {
    std::array<QIcon, kMemberImages> members;
    std::array<QIcon, kEventTypeImages> eventTypes;
    QIcon saveAsText;
    QIcon find;
    QIcon options;
    QIcon about;
    QIcon program;
};

IconSet LoadAll() {
    IconSet set;
    const char* const memberNames[kMemberImages] = {"member-folder", "member", "all-members",
                                                    "member-unused"};
    for (int i = 0; i < kMemberImages; ++i) {
        set.members[static_cast<std::size_t>(i)] = Load(QLatin1String(memberNames[i]));
    }
    for (int i = 0; i < kEventTypeImages; ++i) {
        set.eventTypes[static_cast<std::size_t>(i)] =
            Load(QStringLiteral("type-%1").arg(i, 2, 10, QLatin1Char('0')));
    }
    set.saveAsText = Load(QStringLiteral("save"));
    set.find = Load(QStringLiteral("find"));
    set.options = Load(QStringLiteral("options"));
    set.about = Load(QStringLiteral("about"));
    set.program = Load(QStringLiteral("talvora"));
    return set;
}

const IconSet& Set() {
    static const IconSet set = LoadAll();
    return set;
}

template <std::size_t N>
const QIcon& Image(const std::array<QIcon, N>& strip, int image) {
    const bool inRange = image >= 0 && static_cast<std::size_t>(image) < N;
    return strip[inRange ? static_cast<std::size_t>(image) : 0];
}

}  // namespace

namespace Icons {

QIcon Member(int image) {
    return Image(Set().members, image);
}
QIcon EventType(int image) {
    return Image(Set().eventTypes, image);
}
QIcon SaveAsText() {
    return Set().saveAsText;
}
QIcon Find() {
    return Set().find;
}
QIcon Options() {
    return Set().options;
}
QIcon About() {
    return Set().about;
}
QIcon Program() {
    return Set().program;
}

}  // namespace Icons

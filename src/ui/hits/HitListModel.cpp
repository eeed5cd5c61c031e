#include "ui/hits/HitListModel.h"

#include <algorithm>

#include "database/EventCells.h"
#include "database/EventTypes.h"
#include "database/MessageDatabase.h"
#include "text/ShiftJis.h"
#include "ui/hits/HitTexts.h"

namespace {

// Characters of context kept before the hit and after it.
constexpr qsizetype kBefore = 24;
constexpr qsizetype kAfter = 120;
// Decoded rows kept; a screenful is a few dozen.
constexpr std::size_t kCacheRows = 1024;

// One line: line breaks and tabs would break the row.
QString OneLine(QString text) {
    for (QChar& c : text) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QLatin1Char('\t')) {
            c = QLatin1Char(' ');
        }
    }
    return text;
}

}  // namespace

HitListModel::HitListModel(MessageDatabase& database, QObject* parent)
    : QAbstractTableModel(parent), database_(database) {}

void HitListModel::Reset(std::int32_t searchedKey) {
    beginResetModel();
    key_ = searchedKey;
    newer_.clear();
    older_.clear();
    cache_.clear();
    endResetModel();
}

void HitListModel::AddOlder(const std::vector<Hit>& hits) {
    if (hits.empty()) {
        return;
    }
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(hits.size()) - 1);
    older_.insert(older_.end(), hits.begin(), hits.end());
    endInsertRows();
}

void HitListModel::AddNewer(const std::vector<Hit>& hits) {
    if (hits.empty()) {
        return;
    }
    beginInsertRows({}, 0, static_cast<int>(hits.size()) - 1);
    newer_.insert(newer_.end(), hits.begin(), hits.end());
    endInsertRows();
}

const Hit& HitListModel::HitAt(int row) const {
    const auto r = static_cast<std::size_t>(row);
    return r < newer_.size() ? newer_[newer_.size() - 1 - r] : older_[r - newer_.size()];
}

std::optional<std::pair<std::int32_t, std::int32_t>> HitListModel::ListPosition(int row) const {
    if (row < 0 || row >= rowCount()) {
        return std::nullopt;
    }
    const Cells& cells = CellsAt(row);
    if (database_.members().count(cells.ownerKey) == 0) {
        return std::nullopt;  // the history changed underneath
    }
    const std::int32_t count = database_.EventCount(cells.ownerKey);
    if (cells.ownerIndex >= count) {
        return std::nullopt;
    }
    return std::make_pair(cells.ownerKey, IndexToRow(count, cells.ownerIndex));
}

const HitListModel::Cells& HitListModel::CellsAt(int row) const {
    const Hit& hit = HitAt(row);
    auto it = cache_.find(hit.index);
    if (it != cache_.end()) {
        return it->second;
    }
    if (cache_.size() >= kCacheRows) {
        cache_.clear();
    }
    return cache_.emplace(hit.index, Decode(hit)).first->second;
}

HitListModel::Cells HitListModel::Decode(const Hit& hit) const {
    Cells cells;
    EventRecord record;
    const bool decoded = database_.ReadEvent(key_, hit.index, record);
    const MemberEvent owner = OwnerOfEvent(database_, key_, hit.index);
    cells.ownerKey = owner.key;
    cells.ownerIndex = owner.index;
    auto member = database_.members().find(owner.key);
    if (member != database_.members().end()) {
        cells.name = FromShiftJis(member->second.name);
    }
    if (decoded) {
        cells.date = FromShiftJis(FormatListDate(record.time));
        cells.time = QString::fromLatin1(FormatListTime(record.time));
        cells.direction = FromShiftJis(DirectionName(record.direction));
    }
    // The text may have changed since the hit was found: keep the pieces inside it.
    const std::string_view text(record.text);
    const std::size_t start = std::min<std::size_t>(hit.start, text.size());
    const std::size_t end = std::min<std::size_t>(start + hit.length, text.size());
    QString before = OneLine(FromShiftJis(text.substr(0, start)));
    if (before.size() > kBefore) {
        before = QStringLiteral("…") + before.right(kBefore);
    }
    cells.before = before;
    cells.hit = OneLine(FromShiftJis(text.substr(start, end - start)));
    cells.after = OneLine(FromShiftJis(text.substr(end))).left(kAfter);
    return cells;
}

int HitListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(newer_.size() + older_.size());
}

int HitListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant HitListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole && role < BeforeHitRole) {
        return {};
    }
    const Cells& cells = CellsAt(index.row());
    switch (role) {
        case BeforeHitRole:
            return cells.before;
        case HitRole:
            return cells.hit;
        case AfterHitRole:
            return cells.after;
        default:
            break;
    }
    switch (index.column()) {
        case NameColumn:
            return cells.name;
        case DateColumn:
            return cells.date;
        case TimeColumn:
            return cells.time;
        case DirectionColumn:
            return cells.direction;
        case TextColumn:
            return cells.before + cells.hit + cells.after;
        default:
            return {};
    }
}

QVariant HitListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    static const char* const kHeaders[] = {hit_texts::kNameColumn, hit_texts::kDateColumn,
                                           hit_texts::kTimeColumn, hit_texts::kDirectionColumn,
                                           hit_texts::kTextColumn};
    if (section < 0 || section >= ColumnCount) {
        return {};
    }
    return QString::fromUtf8(kHeaders[section]);
}

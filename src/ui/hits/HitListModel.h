#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "search/HitSearch.h"

class MessageDatabase;

// The hits of one search as rows: member name, date, time, direction and the text around
// the hit, newest first. It holds only where each hit is; the cells are decoded when they
// are shown.
class HitListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { NameColumn, DateColumn, TimeColumn, DirectionColumn, TextColumn, ColumnCount };
    // The text column in three pieces for drawing the hit marked.
    enum Role { BeforeHitRole = Qt::UserRole + 1, HitRole, AfterHitRole };

    explicit HitListModel(MessageDatabase& database, QObject* parent = nullptr);

    // Forgets every hit; the next ones are of `key`'s events.
    void Reset(std::int32_t searchedKey);
    // Hits older than every row: added at the bottom, in the order given.
    void AddOlder(const std::vector<Hit>& hits);
    // Hits newer than every row (appended events): each goes to the top.
    void AddNewer(const std::vector<Hit>& hits);

    // Where hit `row` is now: the member it belongs to and its row in that member's list.
    std::optional<std::pair<std::int32_t, std::int32_t>> ListPosition(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct Cells {
        std::int32_t ownerKey = 0;
        std::int32_t ownerIndex = 0;
        QString name, date, time, direction;
        QString before, hit, after;
    };

    const Hit& HitAt(int row) const;
    const Cells& CellsAt(int row) const;
    Cells Decode(const Hit& hit) const;

    MessageDatabase& database_;
    std::int32_t key_ = ALL_MEMBERS;
    std::vector<Hit> newer_;                                 // oldest first: the last is row 0
    std::vector<Hit> older_;                                 // newest first, below the newer ones
    mutable std::unordered_map<std::int32_t, Cells> cache_;  // by event index
};

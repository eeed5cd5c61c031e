#pragma once

#include <QAbstractTableModel>
#include <QIcon>

#include <array>
#include <cstdint>

#include "database/EventCells.h"
#include "database/EventRecord.h"
#include "settings/Settings.h"

class MessageDatabase;

// The rows of one member's events for the list: rowCount is the member's event count and
// data() decodes on demand through a one-record cache keyed by the event's entryNumber, so
// the six cells of a row, its icon and its colours cost one read.
class EventListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Roles beyond Qt's: the cell's whole text (line breaks kept), the row's direction,
    // whether its record decoded, and its event-type image number (0..19).
    enum Role { FullTextRole = Qt::UserRole + 1, DirectionRole, DecodedRole, ImageRole };

    explicit EventListModel(MessageDatabase& database, QObject* parent = nullptr);

    void ShowMember(std::int32_t key);  // reset, or grow by inserting rows at the top
    void Clear();
    // Forgets the remembered decoded row (its record may read differently now).
    void ForgetDecodedRow();
    void SetColors(const ListColors& colors);
    const ListColors& colors() const { return colors_; }
    bool hasMember() const { return hasMember_; }
    std::int32_t member() const { return member_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    // Decodes row `row` into the cache unless it is there already; false when it failed.
    bool Decode(int row) const;
    // Fills the cells of the record just read.
    void FillCells() const;
    // A cell of the cached row; the text column as one line or with its line breaks.
    QString CellText(int column, bool singleLine) const;
    const QIcon& TypeIcon(int image) const;

    static constexpr int kTypeImages = 20;

    MessageDatabase& database_;
    std::int32_t member_ = 0;
    bool hasMember_ = false;
    int rows_ = 0;
    ListColors colors_;
    mutable std::int32_t rowEntry_ = -1;
    mutable bool rowDecoded_ = false;
    mutable EventRecord rowRecord_;
    mutable EventCells rowCells_;
    mutable QString rowTexts_[6];  // by column; the name is looked up when asked for
    mutable QString rowLine_;      // the text column with its line breaks as spaces
    mutable std::array<QIcon, kTypeImages> icons_;
};

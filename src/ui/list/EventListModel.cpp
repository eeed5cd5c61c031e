#include "ui/list/EventListModel.h"

#include <QBrush>
#include <QIcon>

#include "database/DatabaseTexts.h"
#include "database/EventTypes.h"
#include "database/MessageDatabase.h"
#include "text/ShiftJis.h"
#include "ui/controls/Colors.h"
#include "ui/controls/Icons.h"

namespace {

constexpr int kColumnCount = 6;

// Header texts, in column order (type, date, time, name, text, UIN).
const char* const kHeaderTexts[kColumnCount] = {"種類", "日付", "時間", "名前", "情報", "UIN"};

// A row is one line: every line break of the text (CR LF, CR or LF) and every TAB shows
// as one space.
QString SingleLine(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

}  // namespace

EventListModel::EventListModel(MessageDatabase& database, QObject* parent)
    : QAbstractTableModel(parent), database_(database) {}

void EventListModel::ShowMember(std::int32_t key) {
    const int count = std::max<std::int32_t>(0, database_.EventCount(key));
    if (hasMember_ && key == member_ && count >= rows_) {
        // The live refresh: the member's new events are its last references, so they
        // become the top rows and every existing row keeps its event.
        if (count > rows_) {
            beginInsertRows(QModelIndex(), 0, count - rows_ - 1);
            rows_ = count;
            endInsertRows();
        }
        return;
    }
    beginResetModel();
    member_ = key;
    hasMember_ = true;
    rows_ = count;
    endResetModel();
}

void EventListModel::Clear() {
    beginResetModel();
    hasMember_ = false;
    rows_ = 0;
    // The next rows may be another history's, whose entry numbers repeat these.
    ForgetDecodedRow();
    endResetModel();
}

void EventListModel::ForgetDecodedRow() {
    rowEntry_ = -1;
    rowDecoded_ = false;
}

void EventListModel::SetColors(const ListColors& colors) {
    colors_ = colors;
    if (rows_ > 0) {
        emit dataChanged(index(0, 0), index(rows_ - 1, kColumnCount - 1),
                         {Qt::BackgroundRole, Qt::ForegroundRole});
    }
}

int EventListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int EventListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

bool EventListModel::Decode(int row) const {
    const std::vector<EventRef>* refs = database_.KnownRefs(member_);
    const std::int32_t position = RowToIndex(rows_, row);
    if (refs == nullptr || position < 0 || static_cast<std::size_t>(position) >= refs->size()) {
        // The database changed under the list (closed or replaced): show the row as
        // unreadable until the list is shown again.
        rowEntry_ = -1;
        rowDecoded_ = false;
        rowRecord_ = EventRecord{};
        rowRecord_.text.assign(dbtext::kCorrupt);
        FillCells();
        return false;
    }
    const std::int32_t entry = (*refs)[static_cast<std::size_t>(position)].entryNumber;
    if (entry == rowEntry_) {
        return rowDecoded_;
    }
    rowDecoded_ = database_.ReadEvent(member_, position, rowRecord_);
    rowEntry_ = entry;
    FillCells();
    return rowDecoded_;
}

void EventListModel::FillCells() const {
    FillEventCells(database_, rowRecord_, rowDecoded_, rowCells_);
    rowTexts_[TypeColumn] = FromShiftJis(rowCells_.type);
    rowTexts_[DateColumn] = FromShiftJis(rowCells_.date);
    rowTexts_[TimeColumn] = FromShiftJis(rowCells_.time);
    rowTexts_[TextColumn] = FromShiftJis(rowCells_.text);
    rowTexts_[UinColumn] = FromShiftJis(rowCells_.uin);
    rowLine_ = SingleLine(rowTexts_[TextColumn]);
}

QString EventListModel::CellText(int column, bool singleLine) const {
    switch (column) {
        case NameColumn:
            // Looked up each time: a rename in the tree shows at the next repaint.
            return rowDecoded_ ? FromShiftJis(database_.MemberName(rowRecord_.uin)) : QString();
        case TextColumn:
            return singleLine ? rowLine_ : rowTexts_[TextColumn];
        default:
            return rowTexts_[column];
    }
}

const QIcon& EventListModel::TypeIcon(int image) const {
    if (image < 0 || image >= kTypeImages) {
        image = 0;
    }
    QIcon& icon = icons_[static_cast<std::size_t>(image)];
    if (icon.isNull()) {
        icon = Icons::EventType(image);
    }
    return icon;
}

QVariant EventListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 || index.row() >= rows_ || index.column() < 0 ||
        index.column() >= kColumnCount) {
        return {};
    }
    switch (role) {
        case Qt::DisplayRole:
        case FullTextRole:
        case Qt::DecorationRole:
        case Qt::BackgroundRole:
        case Qt::ForegroundRole:
        case DirectionRole:
        case DecodedRole:
        case ImageRole:
            break;
        default:
            return {};
    }
    const bool decoded = Decode(index.row());
    const bool sent = rowRecord_.direction != Received;
    switch (role) {
        case Qt::DisplayRole:
            return CellText(index.column(), true);
        case FullTextRole:
            return CellText(index.column(), false);
        case Qt::DecorationRole:
            if (index.column() != TypeColumn) {
                return {};
            }
            return TypeIcon(IsSupportedType(rowRecord_.type) ? rowRecord_.type : 0);
        case ImageRole:
            return IsSupportedType(rowRecord_.type) ? int{rowRecord_.type} : 0;
        case Qt::BackgroundRole:
            return QBrush(ToQColor(sent ? colors_.sendBackground : colors_.receiveBackground));
        case Qt::ForegroundRole:
            return QBrush(ToQColor(sent ? colors_.sendText : colors_.receiveText));
        case DirectionRole:
            return static_cast<uint>(rowRecord_.direction);
        case DecodedRole:
            return decoded;
        default:
            return {};
    }
}

QVariant EventListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= kColumnCount) {
        return {};
    }
    return QString::fromUtf8(kHeaderTexts[section]);
}

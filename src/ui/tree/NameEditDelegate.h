#pragma once

#include <QStyledItemDelegate>

// Ends the in-place rename of a member: an empty name is refused silently, a name with
// characters that Shift-JIS lacks or longer than 20 Shift-JIS bytes is refused with a
// message; the label stays as it was. An accepted name is handed on with nameAccepted.
class NameEditDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

signals:
    void nameAccepted(const QModelIndex& index, const QString& name) const;
    void nameRefused(const QString& message) const;
};

// Longest display name, in Shift-JIS bytes.
inline constexpr int kMaxNameBytes = 20;
// Why `name` cannot be a display name (empty when it can); an empty name gives the
// "refused silently" answer of an empty text.
enum class NameCheck { Ok, Empty, TooLong, Unencodable };
NameCheck CheckDisplayName(const QString& name);

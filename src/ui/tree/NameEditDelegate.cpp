#include "ui/tree/NameEditDelegate.h"

#include <QLineEdit>

#include "text/ShiftJis.h"
#include "ui/tree/TreeTexts.h"

NameCheck CheckDisplayName(const QString& name) {
    if (name.isEmpty()) {
        return NameCheck::Empty;
    }
    if (!CanEncodeShiftJis(name)) {
        return NameCheck::Unencodable;
    }
    if (ShiftJisLength(name) > static_cast<std::size_t>(kMaxNameBytes)) {
        return NameCheck::TooLong;
    }
    return NameCheck::Ok;
}

void NameEditDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                    const QModelIndex& index) const {
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (line == nullptr) {
        return;
    }
    const QString name = line->text();
    switch (CheckDisplayName(name)) {
        case NameCheck::Empty:
            return;
        case NameCheck::TooLong:
            emit nameRefused(QString::fromUtf8(kNameTooLong));
            return;
        case NameCheck::Unencodable:
            emit nameRefused(QString::fromUtf8(kNameUnencodable));
            return;
        case NameCheck::Ok:
            break;
    }
    model->setData(index, name, Qt::EditRole);
    emit nameAccepted(index, name);
}

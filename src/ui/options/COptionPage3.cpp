#include "ui/options/COptionPage3.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <functional>
#include <utility>

#include "database/MessageDatabase.h"
#include "text/ShiftJis.h"
#include "ui/controls/Prompts.h"
#include "ui/options/OptionTexts.h"
#include "ui/tree/NameEditDelegate.h"
#include "ui/tree/TreeTexts.h"

namespace {

constexpr int kNameColumn = 0;
constexpr int kUinColumn = 1;
// The name as Shift-JIS bytes: a stored name that does not decode cleanly is given back to
// the table unchanged unless it was edited.
constexpr int kNameBytesRole = Qt::UserRole;

QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

}  // namespace

// Edits the name column only, and accepts a name (an empty one too) only when it fits.
class COptionPage3::NameColumnDelegate : public QStyledItemDelegate {
public:
    NameColumnDelegate(QObject* parent,
                       std::function<void(const QModelIndex&, const QString&)> accept,
                       std::function<void(const QString&)> refuse)
        : QStyledItemDelegate(parent), accept_(std::move(accept)), refuse_(std::move(refuse)) {
        // Before the view's own handling, which deletes the editor only later.
        connect(this, &QAbstractItemDelegate::closeEditor, this, [this] { editor_ = nullptr; });
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        if (index.column() != kNameColumn) {
            return nullptr;
        }
        editor_ = QStyledItemDelegate::createEditor(parent, option, index);
        return editor_;
    }

    // The editor of an edit in progress, null when none.
    QWidget* openEditor() const { return editor_; }

    void setModelData(QWidget* editor, QAbstractItemModel*,
                      const QModelIndex& index) const override {
        auto* line = qobject_cast<QLineEdit*>(editor);
        if (line == nullptr) {
            return;
        }
        const QString name = line->text();
        switch (CheckDisplayName(name)) {
            case NameCheck::TooLong:
                refuse_(Text(kNameTooLong));
                return;
            case NameCheck::Unencodable:
                refuse_(Text(kNameUnencodable));
                return;
            case NameCheck::Empty:
            case NameCheck::Ok:
                accept_(index, name);
                return;
        }
    }

private:
    std::function<void(const QModelIndex&, const QString&)> accept_;
    std::function<void(const QString&)> refuse_;
    mutable QPointer<QWidget> editor_;
};

COptionPage3::COptionPage3(MessageDatabase& database, ApplyNames apply, Prompts& prompts,
                           QWidget* parent)
    : COptionPage(parent),
      database_(database),
      apply_(std::move(apply)),
      prompts_(prompts),
      list_(new QTreeWidget) {
    setObjectName(QStringLiteral("membersPage"));
    list_->setObjectName(QStringLiteral("memberList"));
    list_->setColumnCount(2);
    list_->setHeaderLabels({Text(optiontext::kNameColumn), Text(optiontext::kUinColumn)});
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setSortingEnabled(false);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setAllColumnsShowFocus(true);
    list_->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    list_->header()->setSectionsClickable(false);
    list_->header()->setStretchLastSection(false);
    list_->setMinimumSize(300, 220);

    delegate_ = new NameColumnDelegate(
        list_,
        [this](const QModelIndex& index, const QString& name) {
            QTreeWidgetItem* item = list_->topLevelItem(index.row());
            if (item == nullptr) {
                return;
            }
            item->setText(kNameColumn, name);
            item->setData(kNameColumn, kNameBytesRole,
                          QByteArray::fromStdString(ToShiftJis(name).value_or(std::string())));
        },
        [this](const QString& message) { RefuseName(message); });
    list_->setItemDelegate(delegate_);
    // Every edit that ends marks the page changed, an abandoned one too; a refused name
    // does not.
    connect(delegate_, &QAbstractItemDelegate::closeEditor, this, [this] {
        if (!refused_) {
            SetModified(true);
        }
        refused_ = false;
    });

    auto* rename = new QPushButton(Text(optiontext::kRename));
    rename->setObjectName(QStringLiteral("renameMember"));
    connect(rename, &QPushButton::clicked, this, &COptionPage3::RenameSelected);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(rename);

    auto* groupLayout = new QVBoxLayout;
    groupLayout->addWidget(list_, 1);
    groupLayout->addLayout(buttonRow);
    auto* group = new QGroupBox(Text(optiontext::kMembersGroup));
    group->setLayout(groupLayout);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group, 1);
}

void COptionPage3::InitPage() {
    if (!database_.loaded()) {
        return;
    }
    // Collect first: the walk's cursor is shared.
    QList<QTreeWidgetItem*> items;
    if (database_.FirstMember()) {
        do {
            const std::string& name = database_.CurrentName();
            auto* item = new QTreeWidgetItem(
                QStringList{FromShiftJis(name), QString::number(database_.CurrentKey())});
            item->setData(kNameColumn, kNameBytesRole, QByteArray::fromStdString(name));
            item->setFlags(item->flags() | Qt::ItemIsEditable);
            items.append(item);
        } while (database_.NextMember());
    }
    list_->addTopLevelItems(items);
    if (isVisible()) {
        FitColumns();
    }
}

void COptionPage3::showEvent(QShowEvent* event) {
    COptionPage::showEvent(event);
    if (!columnsFitted_) {
        FitColumns();
    }
}

void COptionPage3::FitColumns() {
    // Each column: half the list's outer width, less 10 pixels.
    const int width = list_->width() / 2 - 10;
    list_->setColumnWidth(kNameColumn, width);
    list_->setColumnWidth(kUinColumn, width);
    columnsFitted_ = true;
}

void COptionPage3::RefuseName(const QString& message) {
    refused_ = true;
    refusal_ = message;
    // Shown once the editor has closed: a modal box inside the edit's commit would take
    // the focus from the editor and commit it again.
    QTimer::singleShot(0, this, [this] { ShowRefusal(); });
}

bool COptionPage3::ShowRefusal() {
    if (refusal_.isEmpty()) {
        return false;
    }
    const QString message = std::exchange(refusal_, QString());
    prompts_.Message(this, Text(optiontext::kAppTitle), message, Prompts::Icon::Exclamation,
                     QMessageBox::Ok);
    return true;
}

bool COptionPage3::FinishEditing() {
    // A name still being typed when OK is pressed is checked as Enter would check it; a
    // refusal keeps the sheet open with its message, whether it comes now or came as the
    // editor lost the focus to the button.
    if (QWidget* editor = delegate_->openEditor()) {
        emit delegate_->commitData(editor);
        emit delegate_->closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
    return !ShowRefusal();
}

void COptionPage3::RenameSelected() {
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    if (selected.isEmpty()) {
        return;
    }
    list_->setFocus();
    list_->scrollToItem(selected.first());
    list_->editItem(selected.first(), kNameColumn);
}

void COptionPage3::Commit() {
    std::map<std::int32_t, std::string> names;
    for (int row = 0; row < list_->topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = list_->topLevelItem(row);
        const QByteArray name = item->data(kNameColumn, kNameBytesRole).toByteArray();
        names[item->text(kUinColumn).toInt()] = name.toStdString();
    }
    if (apply_) {
        apply_(names);
    }
}

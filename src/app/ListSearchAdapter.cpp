#include "app/ListSearchAdapter.h"

#include "ui/controls/Prompts.h"
#include "ui/list/CTalvoraView.h"

std::int32_t ListSearchAdapter::RowCount() {
    return list_.RowCount();
}

std::int32_t ListSearchAdapter::FirstSelectedRow() {
    return list_.FirstSelectedRow();
}

std::int32_t ListSearchAdapter::MemberKey() {
    return list_.currentMember();
}

std::int32_t ListSearchAdapter::RowsPerPage() {
    return list_.RowsPerPage();
}

void ListSearchAdapter::SelectRow(std::int32_t row) {
    list_.SelectRow(row);
}

void ListSearchAdapter::ShowRowAt(std::int32_t row, std::int32_t line) {
    list_.ShowRowAt(row, line);
}

void ListSearchAdapter::SearchFinished() {
    prompts_.Message(list_.window(), QStringLiteral("Talvora"), QStringLiteral("検索を終えました"),
                     Prompts::Icon::Information, QMessageBox::Ok);
}

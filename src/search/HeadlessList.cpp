#include "search/HeadlessList.h"

#include "database/MessageDatabase.h"

std::int32_t HeadlessList::RowCount() {
    return db_.EventCount(key_);
}

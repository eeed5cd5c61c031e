#include "database/RecordLayout.h"

#include <algorithm>
#include <cstring>

#include "database/EventTypes.h"
#include "database/LittleEndian.h"
#include "database/MessageDatabase.h"

RecordFields ParseRecord(const std::uint8_t* p, std::size_t available) {
    RecordFields f;
    if (p == nullptr || available < 2 || U16(p + record::kMarker) != RECORD_MARKER) {
        return f;
    }
    f.state = RecordState::Short;
    if (available < 4) {
        return f;
    }
    f.type = U16(p + record::kType);
    f.typeRead = true;
    if (!IsSupportedType(f.type)) {
        f.state = RecordState::Unsupported;
        return f;
    }
    if (available < 8) {
        return f;
    }
    f.uin = static_cast<std::int32_t>(U32(p + record::kUin));
    f.uinRead = true;
    if (available < kRecordHead) {
        return f;
    }
    f.textLength = RecordTextLength(p);
    f.lengthRead = true;
    f.textRead = std::min(f.textLength, available - kRecordHead);
    if (available < kRecordHead + f.textLength + kRecordTail) {
        return f;
    }
    const std::uint8_t* tail = RecordTail(p, f.textLength);
    f.extra = U32(tail + record::kExtra);
    f.direction = U32(tail + record::kDirection);
    f.stamp = static_cast<std::int32_t>(U32(tail + record::kStamp));
    f.state = RecordState::Complete;
    return f;
}

std::size_t RawTextLength(const std::uint8_t* p, const RecordFields& fields) {
    const void* nul = std::memchr(p + kRecordHead, 0, fields.textRead);
    return nul != nullptr
               ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - (p + kRecordHead))
               : fields.textRead;
}

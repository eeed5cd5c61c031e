#pragma once

#include <QIcon>

// The program's pictures, drawn for it (resources/icons): clear at 16x16 and at 32x32.
namespace Icons {

// The member strip: 0 the "メンバー" folder, 1 one member, 2 all members, 3 unused.
QIcon Member(int image);
// The event-type strip: image k for type k (0..19), 0 for an error or unsupported type.
QIcon EventType(int image);
// The toolbar's four buttons: save, find, options, about.
QIcon SaveAsText();
QIcon Find();
QIcon Options();
QIcon About();
// The program icon.
QIcon Program();

}  // namespace Icons

#include "support/QtApp.h"

#include <QApplication>

QApplication& EnsureQApplication() {
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) {
        return *existing;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // QApplication keeps references to argc and argv for its whole life.
    static int argc = 1;
    static char name[] = "talvora-tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: widgets and icons held in statics may outlive any test.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

#if defined(__SANITIZE_ADDRESS__)
#define TALVORA_LSAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TALVORA_LSAN 1
#endif
#endif

#ifdef TALVORA_LSAN
// The system's fontconfig keeps caches it never frees; every test that lays out text
// would otherwise fail the leak check. Nothing of ours is hidden by this.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
#endif

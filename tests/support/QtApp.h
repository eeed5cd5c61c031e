#pragma once

class QApplication;

// The test program's one QApplication, made on first use (GoogleTest's main makes none)
// and kept until the process ends. Without a platform chosen it uses "offscreen", so a
// test run outside CTest needs no display either.
QApplication& EnsureQApplication();

#pragma once

#include <string>

// The temporary files that exports are writing, kept where a signal handler can reach them
// without locks or allocation: an interrupted program removes them before it ends.

// Notes and forgets a temporary file (a name too long for the table is not noted).
void NoteTemporaryFile(const std::string& path);
void ForgetTemporaryFile(const std::string& path);

// Async-signal-safe: removes every temporary file noted.
void RemoveTemporaryFilesNow();

// Async-signal-safe: every write of an export from now on fails as interrupted, so that a
// long export ends at once and removes its temporary file itself.
void InterruptWrites();
bool WritesInterrupted();
// Writes may go on again (a program that stayed after the signal, or its tests).
void ResumeWrites();

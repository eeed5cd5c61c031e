#pragma once

#include <string>

// Why an output file could not be written, kept as a kind so that each program can say it in
// its own language: the window in Japanese, the command-line tool in English.
struct OutputFailure {
    enum class Kind {
        None,
        NoName,         // no file name was given
        HistoryFile,    // the open history's data or index file, by whatever path
        ProtectedFile,  // another file the program must not write (the settings in use)
        NotWritable,    // the user may not write the file itself (as cp would refuse)
        Interrupted,    // a quit signal arrived while writing
        System,         // the system refused: `code` is the errno
        NotAnArchive,   // an existing file that is not an SQLite archive of ours
        OtherHistory,   // an archive of another history, or of this one before a rewrite
        Archive,        // SQLite failed: `detail` says why
    };
    Kind kind = Kind::None;
    int code = 0;
    std::string path;         // the path as the caller gave it
    std::string detail = {};  // the reason in English, for the archive's kinds

    explicit operator bool() const { return kind != Kind::None; }
};

// "cannot write PATH: reason" (English, for the command line).
std::string OutputFailureText(const OutputFailure& failure);
// The reason alone in Japanese (UTF-8), for a message that names the path itself.
std::string OutputFailureReasonJa(const OutputFailure& failure);

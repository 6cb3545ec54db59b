#pragma once

#include <QString>
#include <QStringList>

namespace corvane {

// What an operation on the library came to: done, or why not, with the names it
// concerns as the lists show them. The widgets put it into words.
struct Outcome {
    enum class Code {
        Done,
        Unencodable,    // the text holds a character a script cannot store
        WriteFailed,    // a step of writing failed; error says which way
        FolderFailed,   // names: the folder that could not be made, the backup
        CopyFailed,     // names: the file that could not be copied, the backup
        TargetFailed,   // names: the backup folder that could not be made
        NoPrinter,
        PrintFailed,
        NotScript,       // the entry is no script file
        NotFound,        // names: the script, its category
        FolderMissing,   // names: the category whose folder is not there
        OutsideLibrary,  // names: the category that links lead outside
        NameTaken,       // names: the entry that has the name, the category
    };
    Code code = Code::Done;
    QStringList names;
    int error = 0;           // the system's code of the failed step
    char32_t character = 0;  // for Unencodable

    bool done() const { return code == Code::Done; }
    static Outcome failed(Code code, QStringList names = {}, int error = 0) { return {code, std::move(names), error, 0}; }
};

}  // namespace corvane

#pragma once

#include <QString>

namespace corvane {

// What an operation on the library came to: done, or why not, with the names it
// concerns as the lists show them. The widgets put it into words.
struct Outcome {
    enum class Code {
        Done,
        Unencodable,     // character: what a script cannot store
        WriteFailed,     // a step of writing failed; error says which way
        NotScript,       // name: the entry, which is no script file
        NotFound,        // name: the script or category; category: where the script was
        FolderMissing,   // category: the category whose folder is not there
        OutsideLibrary,  // name: the script, or category: the category, that links lead outside
        NameTaken,       // name: the entry that has the name; category: where it is
        Unreadable,      // category: the folder that could not be listed
        NotOnlyScripts,  // category: a folder holding sub-folders or hidden files
        ChangedOnDisk,   // name: the script another program changed since it was read
    };
    Code code = Code::Done;
    QString name;
    QString category;
    int error = 0;           // the system's code of the failed step
    char32_t character = 0;  // for Unencodable

    bool done() const { return code == Code::Done; }
    static Outcome failed(Code code, QString name = {}, QString category = {}, int error = 0)
    {
        return {code, std::move(name), std::move(category), error, 0};
    }
    static Outcome writeFailed(int error) { return failed(Code::WriteFailed, {}, {}, error); }
};

}  // namespace corvane

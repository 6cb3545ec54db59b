#pragma once

#include <QStringList>

namespace corvane::backup {

// What a backup came to: done, or where it stopped, with the paths as the user
// reads them.
struct Result {
    enum class Code {
        Done,
        TargetFailed,  // names: the backup folder that could not be made
        FolderFailed,  // names: the folder that could not be made, the backup
        CopyFailed,    // names: the file that could not be copied, the backup
    };
    Code code = Code::Done;
    QStringList names;
    int error = 0;  // the system's code of the failed step

    bool done() const { return code == Code::Done; }
    static Result failed(Code code, QStringList names, int error) { return {code, std::move(names), error}; }
};

}  // namespace corvane::backup

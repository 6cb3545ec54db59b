#pragma once

#include "library/Fs.h"
#include "library/Outcome.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// One script per file: a double quote, the text with each double quote stored as
// the currency sign, a closing double quote, CR LF; Windows-1252 on disk.
namespace corvane::script {

inline constexpr char kQuote = '"';
inline constexpr char kStoredQuote = '\xA4';  // the currency sign in Windows-1252

// The stored text of a file's bytes: between the first pair of double quotes
// (to the end of the file when the quote never closes), or, for a file that does
// not open with a double quote, up to the first comma, CR or LF. Leading blanks
// are skipped. Currency signs are still in place.
QByteArrayView storedText(QByteArrayView fileBytes);

// The same rule for a file read piece by piece: each piece, in order, gives the
// stored text it holds and whether the stored text ends in it.
class StoredTextReader {
public:
    struct Part {
        QByteArrayView text;
        bool ended = false;
    };
    Part next(QByteArrayView piece);

private:
    enum class At { Blanks, Quoted, Plain } at_ = At::Blanks;
};

// The text a user sees: stored text with each currency sign turned back into a
// double quote. Line breaks stay as they are in the file.
QString decodeStored(QByteArrayView stored);
QString decodeFile(QByteArrayView fileBytes);

// Bytes of a whole script file for a text whose line breaks are already CR LF.
struct Encoded {
    QByteArray bytes;
    bool ok = true;
    char32_t badChar = 0;
};
Encoded encodeFile(QStringView text);

// Line breaks of a text box (LF) to the file's CR LF and back.
QString toCrLf(QStringView text);
QString fromCrLf(QStringView text);

// Scripts are small; a stored text past this is not loaded, so a stray huge file
// never freezes the program.
inline constexpr qint64 kMaxStoredBytes = 16 * 1024 * 1024;

// What a file held when it was read, so that a later look can tell whether
// another program changed it since: a digest of its bytes (times and sizes
// prove nothing, sync tools keep both; of a file past kMaxStoredBytes + 2, its
// first bytes and its size), or that it was missing.
struct Snapshot {
    bool exists = false;
    QByteArray digest;  // empty for a file that is there but could not be read
    friend bool operator==(const Snapshot&, const Snapshot&) = default;
};
Snapshot snapshotOf(QByteArrayView wholeFile);
Snapshot snapshot(const fs::Path& path);

enum class ReadStatus { Ok, Unreadable, TooBig };
struct ReadResult {
    ReadStatus status = ReadStatus::Ok;
    QString text;
    Snapshot snapshot;  // of the very bytes the text came from
};
// Reads and decodes a script file (at most kMaxStoredBytes + 2 bytes of it),
// with a snapshot of the file.
ReadResult read(const fs::Path& path);

// Writes the whole file through a temporary beside it, so a failure never leaves
// a truncated script. Text whose characters Windows-1252 cannot hold is refused
// and nothing is written. Line breaks of any kind are written as CR LF. With
// Replace::Refused an existing file of that name is left alone and the write fails.
// written, when given, receives the snapshot of what was written.
Outcome writeFile(const fs::Path& path, QStringView text, fs::Replace replace = fs::Replace::Allowed,
                  Snapshot* written = nullptr);

}  // namespace corvane::script

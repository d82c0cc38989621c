#pragma once
// Writing a report file and handing it to the program that shows it.
#include "reports/PlatformFile.h"

#include <QByteArray>
#include <QString>
#include <functional>

namespace reports {

// Writes the bytes under the path. They go to a temporary file that replaces
// the old one only when all is written, so a failed write leaves the previous
// report as it was. A failure raises the input/output message a technician
// knows: "File access denied", "Disk full", "Too many open files" or
// "I/O error <code>".
void saveFile(const QString &path, const QByteArray &bytes);

// The same write, answering the operating system's error code (0 when all
// went well) for callers that word the failure their own way. A path that is
// a symbolic link replaces the file the link leads to, beside that file; the
// link stays. The first write into a folder removes the temporary files a
// write killed part way left there.
int replaceFile(const QString &path, const QByteArray &bytes);

// A file written in full beside its target and not yet in its place, so that
// files that belong together are all written before any is put in place.
// Dropped without commit(), it leaves nothing behind.
class PendingFile {
public:
    PendingFile() = default;
    PendingFile(PendingFile &&other) noexcept;
    PendingFile &operator=(PendingFile &&other) noexcept;
    ~PendingFile();

    // Puts the file in its target's place; 0 or the system's error code, and
    // then the target is as it was.
    int commit();
    // Adds bytes to the written file, for a file made as a run goes; 0 or
    // the system's error code.
    int append(const QByteArray &bytes);

private:
    friend int prepareFile(const QString &path, const QByteArray &bytes, PendingFile &pending);
    QString target_;
    platform::Temporary written_;
    QByteArray overwriteWith_; // a folder that takes no new file: the target is written over at commit
    bool overwrite_ = false;
};

// The first half of replaceFile(): the bytes written beside the target.
int prepareFile(const QString &path, const QByteArray &bytes, PendingFile &pending);

// Writes a file the program makes for its own use (the chart picture of the
// page report) beside the program when that folder takes it, or else, as
// for a program installed where the user cannot write, into the user's cache
// folder. Answers the path written. A failure raises
// "Cannot create file "<path>". <reason>".
QString saveProgramFile(const QString &name, const QByteArray &bytes);
// The same for a program in programDir. A program installed under a prefix
// (programDir is <prefix>/bin) always writes into the cache folder.
QString saveProgramFile(const QString &name, const QByteArray &bytes, const QString &programDir);

// Asks the desktop to open a file with the program associated with its type;
// the answer is ignored. Replaceable, so that tests start no viewer.
using Opener = std::function<void(const QString &path)>;
void openFile(const QString &path);
void setOpener(Opener opener);

} // namespace reports

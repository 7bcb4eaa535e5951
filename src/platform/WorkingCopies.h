#pragma once

#include <QString>
#include <QTemporaryDir>

// Files in the temporary folder that hold personal data while the program or
// the word processor needs them: working copies of documents and the
// intermediate files of conversions and prints. Each is its owner's alone and
// goes once nobody needs it; what a killed run leaves goes at the next start.
namespace platform {

// A new, empty working copy in the temporary folder: `prefix`, six
// characters and `suffix` ("Contrato", ".tmp"), readable by its owner only.
// Throws FileError.
QString createWorkingCopy(const QString& prefix, const QString& suffix);

// The program needs the working copy no more: it is removed at once, or,
// while the word processor shows it, as soon as it no longer does. One still
// shown when the program ends goes at the next start.
void releaseWorkingCopy(const QString& hostPath);

// Removes the working copies released while the word processor showed them
// that it shows no more. The program does so every second by itself.
void removeReleasedWorkingCopies();

// A folder of its own in the temporary folder for the intermediate files of
// one task, open to its owner only and removed with the object.
class WorkingFolder : public QTemporaryDir {
public:
    WorkingFolder();
};

// At the start of the program: removes what earlier runs left in the
// temporary folder: working copies named as `createWorkingCopy(prefix,
// suffix)` makes them (with the half-written files of their saves and the
// word processor's lock files beside them) and working folders. When another
// copy of the program runs meanwhile (on another data folder), they may be
// its own, and they wait for a start without one.
void removeLeftoverWorkingCopies(const QString& prefix, const QString& suffix);

} // namespace platform

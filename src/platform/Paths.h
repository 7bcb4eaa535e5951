#pragma once

#include <QString>

namespace platform {

// The program keeps the Windows paths of its design ("C:\Quelvan\Dorvane\config",
// "C:\Borrador.doc"). They all go through hostPath(), which puts drive C: onto a
// folder of the host: $TERVALO_C when set, otherwise a folder of the user's own.

inline constexpr auto kProgramFolder = "C:\\Quelvan\\Dorvane";

// The host folder that stands for drive C:.
QString driveCFolder();
// Makes that folder when it is missing, open to its owner alone: it holds the
// office's data. False when it cannot be made.
bool makeDriveCFolder();

// Host path of a Windows path. A path without a drive letter is returned with
// its separators turned; a host path (starting with '/') is returned as it is.
QString hostPath(const QString& windowsPath);

// The Windows path of a host path, as the program names its files to the user
// ("C:\Quelvan\Dorvane\RegSubcontratas.rtf"): the reverse of hostPath() for a
// file on one of the program's drives. A path elsewhere on the host (the
// host's temporary folder) has no Windows path and is named as the host names
// it, and a relative one as it was given.
QString windowsPath(const QString& hostPath);

// The program folder ("C:\Quelvan\Dorvane") on the host.
QString programFolder();

// Whether `name` can name a file in a folder, as Windows takes names: not
// blank, not "." or "..", and without a path separator, a control character
// or any of : * ? " < > |.
bool isPlainFileName(const QString& name);
// A plain file name that the folder listings show: it does not begin with a
// dot, which hides a file on the host.
bool isVisibleFileName(const QString& name);

// An existing host path that matches `hostPath` without regard to case, as
// the names of Windows files match; `hostPath` itself when none does.
QString resolveCase(const QString& hostPath);

} // namespace platform

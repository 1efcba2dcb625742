// Writing the embedded package to a fresh temp file for the installer call.
#pragma once

#include <cstddef>

#include "installer/package_file_seam.h"

// Path buffers hold 260 units (MAX_PATH), terminator included.
inline constexpr std::size_t kPathCapacity = 260;

// The temp-name service uses the first three characters.
inline constexpr char16_t kTempNamePrefix[] = u"KelvaneInstaller";

// Makes a new, empty file with a unique name in the temp folder and writes
// its full name to path (kPathCapacity units). False, with path unchanged,
// when there is no temp folder, it is too long to hold a temp name, or no
// name could be made.
bool MakeTempFileName(PackageFileSeam& files, char16_t* path);

// Writes the package to the temp name with ".msi" appended, created
// exclusively, and leaves the file for the caller; path (kPathCapacity
// units) then holds its name. False when no temp name could be made (path
// unchanged), the name with ".msi" does not fit, the executable carries no
// package, the file exists already (it is left alone), or the write falls
// short; no file of ours is left behind.
bool ExtractPackage(PackageFileSeam& files, char16_t* path);

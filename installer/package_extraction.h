// Writing the embedded package to a fresh temp file for the installer call.
#pragma once

#include <cstddef>

#include "core/text.h"
#include "installer/operation_result.h"
#include "installer/package_file_seam.h"

// Windows errors the extraction reports for failures of its own.
inline constexpr std::uint32_t kErrorFilenameTooLong = 206;   // ERROR_FILENAME_EXCED_RANGE
inline constexpr std::uint32_t kErrorResourceNotFound = 1814;  // ERROR_RESOURCE_NAME_NOT_FOUND

// The temp-name service uses the first three characters.
inline constexpr char16_t kTempNamePrefix[] = u"KelvaneInstaller";

// Makes a new, empty file with a unique name in the temp folder and writes
// its full name to path (kPathCapacity units). A failure, with path
// unchanged, when there is no temp folder, it is too long to hold a temp
// name, or no name could be made.
OperationResult MakeTempFileName(PackageFileSeam& files, char16_t* path);

// Writes the package to the temp name with ".msi" appended, created
// exclusively, in pieces of at most 8 MiB, and leaves the file for the
// caller; path (kPathCapacity units) then holds its name. A failure when
// no temp name could be made (path unchanged), the name with ".msi" does
// not fit, the executable carries no package, the file exists already (it
// is left alone), or the write falls short; no file of ours is left behind.
OperationResult ExtractPackage(PackageFileSeam& files, char16_t* path);

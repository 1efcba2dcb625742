// What package extraction and the folder check need from the platform: the
// temp folder, random numbers, whether we run elevated, a folder and a file
// made exclusively, writing, holding the written file against change,
// deletion, file lookup, and the package the executable carries, read a
// piece at a time. The product wires the Win32 side; unit tests wire an in-memory
// fake.
#pragma once

#include <cstddef>
#include <cstdint>

using PackageFileHandle = void*;  // an open file, or null

class PackageFileSeam {
 public:
  virtual ~PackageFileSeam() = default;

  // The temp folder, ending in a backslash, into buffer (capacity units):
  // its length without the terminator when it fits, the units it needs
  // (terminator included) when it does not, 0 on failure (GetTempPathW).
  virtual std::uint32_t TempFolder(std::uint32_t capacity, char16_t* buffer) = 0;

  // Fills bytes from the system's random number generator; false when it
  // cannot.
  virtual bool RandomBytes(std::uint8_t* bytes, std::size_t size) = 0;

  // Whether the process runs with an elevated token.
  virtual bool IsElevated() = 0;

  // Creates the folder path; fails with ERROR_ALREADY_EXISTS, touching
  // nothing, when anything of that name exists. adminsOnly: full control
  // for Administrators and SYSTEM and nobody else, not inherited from the
  // parent; otherwise the default security.
  virtual bool CreateFolder(const char16_t* path, bool adminsOnly) = 0;

  // Creates path as a new file open for writing that others may only open
  // to read; fails, touching nothing, when anything of that name exists.
  // adminsOnly as for CreateFolder.
  virtual bool CreateNewFile(const char16_t* path, bool adminsOnly, PackageFileHandle* file) = 0;

  // Writes size bytes and returns how many were written.
  virtual std::size_t Write(PackageFileHandle file, const std::uint8_t* bytes,
                            std::size_t size) = 0;

  // Opens path to read. While it is open nobody may delete or rename it,
  // nor, unless allowWriters, open it to write; allowWriters is needed to
  // open it beside a writing handle. Fails when an open handle forbids it.
  virtual bool OpenForReading(const char16_t* path, bool allowWriters,
                              PackageFileHandle* file) = 0;

  // Closes file; false when what was written may not have reached it.
  virtual bool Close(PackageFileHandle file) = 0;

  // DeleteFileW and RemoveDirectoryW; false on failure (see LastError).
  virtual bool RemoveFile(const char16_t* path) = 0;
  virtual bool RemoveFolder(const char16_t* path) = 0;

  // Waits before a retry (Sleep).
  virtual void Pause(std::uint32_t milliseconds) = 0;

  // Whether path names an existing file that is not a folder, or a folder.
  virtual bool IsFile(const char16_t* path) = 0;
  virtual bool IsFolder(const char16_t* path) = 0;

  // Renames from to to, replacing a file of that name, once what was
  // written has reached the disk (MoveFileExW); false on failure.
  virtual bool MoveReplacing(const char16_t* from, const char16_t* to) = 0;

  // The Windows error of the last call that failed (GetLastError).
  virtual std::uint32_t LastError() = 0;

  // Opens the package the executable carries, as its resource or as the
  // bytes attached after its image, and gives its size. False when it
  // carries none (LastError ERROR_RESOURCE_NAME_NOT_FOUND) or the attached
  // bytes are cut short, as by a broken download (ERROR_HANDLE_EOF).
  virtual bool OpenPackage(PackageFileHandle* package, std::uint64_t* size) = 0;

  // The package's next bytes, at most 8 MiB of them, valid until the next
  // call; none (size 0) after the last. False when they cannot be read.
  virtual bool ReadPackage(PackageFileHandle package, const std::uint8_t** bytes, std::size_t* size) = 0;

  virtual void ClosePackage(PackageFileHandle package) = 0;
};

// Writing the embedded package out for the installer call: into a work
// folder of our own, held open until the install is over.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "core/text.h"
#include "installer/operation_result.h"
#include "installer/package_file_seam.h"

// Windows errors the extraction reports for failures of its own, and those
// it looks for.
inline constexpr std::uint32_t kErrorFileNotFound = 2;         // ERROR_FILE_NOT_FOUND
inline constexpr std::uint32_t kErrorPathNotFound = 3;         // ERROR_PATH_NOT_FOUND
inline constexpr std::uint32_t kErrorHandleEof = 38;           // ERROR_HANDLE_EOF
inline constexpr std::uint32_t kErrorAlreadyExists = 183;      // ERROR_ALREADY_EXISTS
inline constexpr std::uint32_t kErrorFilenameTooLong = 206;    // ERROR_FILENAME_EXCED_RANGE
inline constexpr std::uint32_t kErrorCancelled = 1223;         // ERROR_CANCELLED
inline constexpr std::uint32_t kErrorResourceNotFound = 1814;  // ERROR_RESOURCE_NAME_NOT_FOUND

// The work folder is the temp folder, this prefix and 16 random
// hexadecimal digits; the package is kPackageFileName in it.
inline constexpr char16_t kWorkFolderPrefix[] = u"Kel";
inline constexpr char16_t kPackageFileName[] = u"package.msi";

// Random names tried when one exists already, and attempts at a delete.
inline constexpr int kWorkFolderAttempts = 4;
inline constexpr int kRemoveAttempts = 10;
inline constexpr std::uint32_t kRemovePauseMs = 100;

// The package of one install. Extract() makes a new folder (never one that
// exists) with a random name in the temp folder, restricted to
// Administrators and SYSTEM when we run elevated, and writes the package
// into it; from the write until Release() the file stays open so that
// nobody else can write, delete or rename it.
class ExtractedPackage {
 public:
  explicit ExtractedPackage(PackageFileSeam& files) : m_files(files) {}
  ~ExtractedPackage() { Release(); }
  ExtractedPackage(const ExtractedPackage&) = delete;
  ExtractedPackage& operator=(const ExtractedPackage&) = delete;

  // Releases a package held before, then writes a new one in pieces of at
  // most 8 MiB. A failure when there is no temp folder or it is too long
  // for the package's name, no new folder could be made, the executable
  // carries no package or it cannot be read whole (cut short), or the file
  // cannot be written whole, closed and
  // held; nothing of ours is left behind then. A write that stop (when
  // given) asks to end between two pieces fails with kErrorCancelled.
  OperationResult Extract(const std::atomic<bool>* stop = nullptr);

  // The package's full name while it is held; null otherwise.
  const char16_t* Path() const { return m_held != nullptr ? m_path : nullptr; }

  // Closes the package and deletes it and its folder, retrying a delete
  // that fails for a moment; a failure when either is still there. Nothing
  // to do when nothing is held.
  OperationResult Release();

 private:
  OperationResult MakeWorkFolder(bool adminsOnly);
  OperationResult WriteAndHold(bool adminsOnly, PackageFileHandle package, std::uint64_t size,
                               const std::atomic<bool>* stop);
  bool RemoveWithRetries(bool folder, const char16_t* path);

  PackageFileSeam& m_files;
  char16_t m_folder[kPathCapacity] = {};  // empty when we have none
  char16_t m_path[kPathCapacity] = {};    // empty when no file was created
  PackageFileHandle m_held = nullptr;
};

// Writes the package the executable carries, byte for byte, to folder as
// name, making the folder and those above it when they are missing: first
// under a name of its own beside it, renamed once whole, so that a file of
// that name is either the whole package or as it was. Nothing of ours is
// left when it fails (the folders it made go too). written gets the file's
// full name.
OperationResult WritePackageTo(PackageFileSeam& files, const char16_t* folder, const char16_t* name,
                               char16_t (&written)[kPathCapacity]);

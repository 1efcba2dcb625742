#include "installer/package_extraction.h"

#include <cstdint>

#include "core/text.h"

namespace {

// The temp-name service adds up to 14 units to the folder (three prefix
// characters, four hexadecimal digits, ".tmp" and the terminator) and does
// not check that they fit; a longer folder is refused before it sees it.
constexpr std::uint32_t kLongestTempFolder = kPathCapacity - 14;

constexpr char16_t kPackageSuffix[] = u".msi";

// A 32-bit process writes the package a piece at a time: one write of the
// whole can exhaust the kernel's address space for its buffers.
constexpr std::size_t kLargestWrite = 8u << 20;

// Closes the package file on every path; Close() reports whether it
// reached the disk.
class OpenFile {
 public:
  OpenFile(PackageFileSeam& files, PackageFileHandle file) : m_files(files), m_file(file) {}
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  ~OpenFile() {
    if (m_file != nullptr) m_files.Close(m_file);
  }

  PackageFileHandle get() const { return m_file; }
  bool Close() {
    PackageFileHandle file = m_file;
    m_file = nullptr;
    return m_files.Close(file);
  }

 private:
  PackageFileSeam& m_files;
  PackageFileHandle m_file;
};

}  // namespace

OperationResult MakeTempFileName(PackageFileSeam& files, char16_t* path) {
  char16_t folder[kPathCapacity];
  const std::uint32_t length = files.TempFolder(kPathCapacity, folder);
  if (length == 0) return Failure(OperationStep::TempFolder, files.LastError());
  if (length > kLongestTempFolder) return Failure(OperationStep::TempFolder, kErrorFilenameTooLong);

  char16_t name[kPathCapacity];
  name[0] = 0;
  if (files.CreateTempName(folder, kTempNamePrefix, name) == 0) {
    return Failure(OperationStep::TempName, files.LastError());
  }
  if (!CopyText(path, kPathCapacity, name)) return Failure(OperationStep::TempName, kErrorFilenameTooLong);
  return {};
}

OperationResult ExtractPackage(PackageFileSeam& files, char16_t* path) {
  const OperationResult named = MakeTempFileName(files, path);
  if (!named.Succeeded()) return named;
  // Only the unique name is wanted; the package gets a file of its own.
  files.RemoveFile(path);
  if (!AppendText(path, kPathCapacity, kPackageSuffix)) {
    return Failure(OperationStep::TempName, kErrorFilenameTooLong);
  }

  const std::uint8_t* bytes = nullptr;
  std::size_t size = 0;
  if (!files.PackageBytes(&bytes, &size) || size == 0) {
    return Failure(OperationStep::PackageResource, kErrorResourceNotFound);
  }

  // The temp folder is writable by others while we run elevated: a file
  // planted under our name is never written through, nor removed.
  PackageFileHandle created = nullptr;
  if (!files.CreateNewFile(path, &created)) return Failure(OperationStep::CreateFile, files.LastError());
  OpenFile file(files, created);
  OperationResult result;
  for (std::size_t done = 0; done < size;) {
    const std::size_t piece = size - done < kLargestWrite ? size - done : kLargestWrite;
    if (files.Write(file.get(), bytes + done, piece) != piece) {
      result = Failure(OperationStep::WriteFile, files.LastError());
      break;
    }
    done += piece;
  }
  if (!file.Close() && result.Succeeded()) result = Failure(OperationStep::CloseFile, files.LastError());
  // A truncated package cannot be installed.
  if (!result.Succeeded()) files.RemoveFile(path);
  return result;
}

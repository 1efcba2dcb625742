#include "installer/package_extraction.h"

#include <cstdint>

namespace {

// The temp-name service adds up to 14 units to the folder (three prefix
// characters, four hexadecimal digits, ".tmp" and the terminator) and does
// not check that they fit; a longer folder is refused before it sees it.
constexpr std::uint32_t kLongestTempFolder = kPathCapacity - 14;

constexpr char16_t kPackageSuffix[] = u".msi";

// Length of text when it ends within capacity units, else capacity.
std::size_t BoundedLength(const char16_t* text, std::size_t capacity) {
  std::size_t n = 0;
  while (n < capacity && text[n] != 0) ++n;
  return n;
}

// Writes text, terminated, into buffer (capacity units) from unit at on
// when all of it fits; otherwise changes nothing and returns false.
bool PlaceText(char16_t* buffer, std::size_t capacity, std::size_t at, const char16_t* text) {
  const std::size_t length = BoundedLength(text, capacity);
  if (at + length >= capacity) return false;
  for (std::size_t i = 0; i < length; ++i) buffer[at + i] = text[i];
  buffer[at + length] = 0;
  return true;
}

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

bool MakeTempFileName(PackageFileSeam& files, char16_t* path) {
  char16_t folder[kPathCapacity];
  const std::uint32_t length = files.TempFolder(kPathCapacity, folder);
  if (length == 0 || length > kLongestTempFolder) return false;

  char16_t name[kPathCapacity];
  name[0] = 0;
  if (files.CreateTempName(folder, kTempNamePrefix, name) == 0) return false;
  return PlaceText(path, kPathCapacity, 0, name);
}

bool ExtractPackage(PackageFileSeam& files, char16_t* path) {
  if (!MakeTempFileName(files, path)) return false;
  // Only the unique name is wanted; the package gets a file of its own.
  files.RemoveFile(path);
  if (!PlaceText(path, kPathCapacity, BoundedLength(path, kPathCapacity), kPackageSuffix)) {
    return false;
  }

  const std::uint8_t* bytes = nullptr;
  std::size_t size = 0;
  if (!files.PackageBytes(&bytes, &size) || size == 0) return false;

  // The temp folder is writable by others while we run elevated: a file
  // planted under our name is never written through, nor removed.
  PackageFileHandle created = nullptr;
  if (!files.CreateNewFile(path, &created)) return false;
  OpenFile file(files, created);
  const bool written = files.Write(file.get(), bytes, size) == size;
  if (file.Close() && written) return true;
  // A truncated package cannot be installed.
  files.RemoveFile(path);
  return false;
}

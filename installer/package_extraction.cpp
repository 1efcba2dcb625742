#include "installer/package_extraction.h"

#include "core/text.h"

namespace {

constexpr std::size_t kRandomBytes = 8;  // 16 hexadecimal digits

// The temp folder, the work folder's name, a backslash and the package's
// name fit the 260-unit path; the work folder then fits CreateDirectoryW's
// 248 units as well.
constexpr std::size_t kWorkFolderNameLength = sizeof kWorkFolderPrefix / sizeof(char16_t) - 1 +
                                              2 * kRandomBytes;
constexpr std::size_t kLongestTempFolder =
    kPathCapacity - 1 - kWorkFolderNameLength - 1 - (sizeof kPackageFileName / sizeof(char16_t) - 1);
static_assert(kLongestTempFolder + kWorkFolderNameLength < 248);

// A 32-bit process writes the package a piece at a time: one write of the
// whole can exhaust the kernel's address space for its buffers.
constexpr std::size_t kLargestWrite = 8u << 20;

// The package the executable carries, open while it is read.
class CarriedPackage {
 public:
  explicit CarriedPackage(PackageFileSeam& files) : m_files(files) {}
  ~CarriedPackage() {
    if (m_package != nullptr) m_files.ClosePackage(m_package);
  }
  CarriedPackage(const CarriedPackage&) = delete;
  CarriedPackage& operator=(const CarriedPackage&) = delete;

  OperationResult Open() {
    if (!m_files.OpenPackage(&m_package, &m_size)) {
      m_package = nullptr;
      if (m_files.LastError() == kErrorHandleEof) return Failure(OperationStep::PackageRead, kErrorHandleEof);
      return Failure(OperationStep::PackageResource, kErrorResourceNotFound);
    }
    if (m_size == 0) return Failure(OperationStep::PackageResource, kErrorResourceNotFound);
    return {};
  }
  PackageFileHandle Handle() const { return m_package; }
  std::uint64_t Size() const { return m_size; }

 private:
  PackageFileSeam& m_files;
  PackageFileHandle m_package = nullptr;
  std::uint64_t m_size = 0;
};

// Copies the package's size bytes to writer in writes of at most 8 MiB;
// writeStep names a failed write. A package that ends early fails as cut.
OperationResult CopyPackage(PackageFileSeam& files, PackageFileHandle package, std::uint64_t size,
                            PackageFileHandle writer, OperationStep writeStep, const std::atomic<bool>* stop) {
  for (std::uint64_t done = 0; done < size;) {
    const std::uint8_t* bytes = nullptr;
    std::size_t got = 0;
    if (!files.ReadPackage(package, &bytes, &got)) return Failure(OperationStep::PackageRead, files.LastError());
    if (got == 0 || got > size - done) return Failure(OperationStep::PackageRead, kErrorHandleEof);
    for (std::size_t at = 0; at < got;) {
      if (stop != nullptr && stop->load()) return Failure(writeStep, kErrorCancelled);
      const std::size_t piece = got - at < kLargestWrite ? got - at : kLargestWrite;
      if (files.Write(writer, bytes + at, piece) != piece) return Failure(writeStep, files.LastError());
      at += piece;
    }
    done += got;
  }
  return {};
}

void AppendHex(const std::uint8_t* bytes, std::size_t size, char16_t* out) {
  constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  for (std::size_t i = 0; i < size; ++i) {
    *out++ = kDigits[bytes[i] >> 4];
    *out++ = kDigits[bytes[i] & 0xF];
  }
  *out = 0;
}

}  // namespace

OperationResult ExtractedPackage::MakeWorkFolder(bool adminsOnly) {
  char16_t temp[kPathCapacity];
  const std::uint32_t length = m_files.TempFolder(kPathCapacity, temp);
  if (length == 0) return Failure(OperationStep::TempFolder, m_files.LastError());
  if (length > kLongestTempFolder) return Failure(OperationStep::TempFolder, kErrorFilenameTooLong);

  // A folder that exists may be someone else's: only one we made is used.
  for (int attempt = 0; attempt < kWorkFolderAttempts; ++attempt) {
    std::uint8_t random[kRandomBytes];
    if (!m_files.RandomBytes(random, sizeof random)) {
      return Failure(OperationStep::WorkFolder, m_files.LastError());
    }
    char16_t digits[2 * kRandomBytes + 1];
    AppendHex(random, sizeof random, digits);
    char16_t folder[kPathCapacity];
    JoinText(folder, kPathCapacity, {temp, kWorkFolderPrefix, digits});
    if (m_files.CreateFolder(folder, adminsOnly)) {
      CopyText(m_folder, kPathCapacity, folder);
      return {};
    }
    const std::uint32_t error = m_files.LastError();
    if (error != kErrorAlreadyExists) return Failure(OperationStep::WorkFolder, error);
  }
  return Failure(OperationStep::WorkFolder, kErrorAlreadyExists);
}

OperationResult ExtractedPackage::WriteAndHold(bool adminsOnly, PackageFileHandle package,
                                               std::uint64_t size, const std::atomic<bool>* stop) {
  JoinText(m_path, kPathCapacity, {m_folder, u"\\", kPackageFileName});
  PackageFileHandle writer = nullptr;
  if (!m_files.CreateNewFile(m_path, adminsOnly, &writer)) {
    const OperationResult failed = Failure(OperationStep::CreateFile, m_files.LastError());
    m_path[0] = 0;
    return failed;
  }
  const OperationResult copied = CopyPackage(m_files, package, size, writer, OperationStep::WriteFile, stop);
  if (!copied.Succeeded()) {
    m_files.Close(writer);
    return copied;
  }
  // The service opens the package only beside handles that do not write.
  // A reader that lets the writer be is opened before the writer closes,
  // and one that lets nobody write before that reader closes: the file is
  // never without a handle that forbids deleting or renaming it.
  PackageFileHandle bridge = nullptr;
  if (!m_files.OpenForReading(m_path, true, &bridge)) {
    const OperationResult failed = Failure(OperationStep::HoldFile, m_files.LastError());
    m_files.Close(writer);
    return failed;
  }
  if (!m_files.Close(writer)) {
    const OperationResult failed = Failure(OperationStep::CloseFile, m_files.LastError());
    m_files.Close(bridge);
    return failed;
  }
  // Fails when someone opened it to write meanwhile.
  PackageFileHandle held = nullptr;
  if (!m_files.OpenForReading(m_path, false, &held)) {
    const OperationResult failed = Failure(OperationStep::HoldFile, m_files.LastError());
    m_files.Close(bridge);
    return failed;
  }
  m_files.Close(bridge);
  m_held = held;
  return {};
}

OperationResult ExtractedPackage::Extract(const std::atomic<bool>* stop) {
  Release();
  CarriedPackage package(m_files);
  const OperationResult opened = package.Open();
  if (!opened.Succeeded()) return opened;
  const bool adminsOnly = m_files.IsElevated();
  const OperationResult made = MakeWorkFolder(adminsOnly);
  if (!made.Succeeded()) return made;
  const OperationResult written = WriteAndHold(adminsOnly, package.Handle(), package.Size(), stop);
  if (!written.Succeeded()) Release();
  return written;
}

bool ExtractedPackage::RemoveWithRetries(bool folder, const char16_t* path) {
  for (int attempt = 1;; ++attempt) {
    if (folder ? m_files.RemoveFolder(path) : m_files.RemoveFile(path)) return true;
    const std::uint32_t error = m_files.LastError();
    if (error == kErrorFileNotFound || error == kErrorPathNotFound) return true;
    // The service, or a scanner, may still have it open for a moment.
    if (attempt == kRemoveAttempts) return false;
    m_files.Pause(kRemovePauseMs);
  }
}

OperationResult ExtractedPackage::Release() {
  if (m_held != nullptr) m_files.Close(m_held);
  m_held = nullptr;
  OperationResult result;
  if (m_path[0] != 0 && !RemoveWithRetries(false, m_path)) {
    result = Failure(OperationStep::RemoveFile, m_files.LastError());
  }
  if (m_folder[0] != 0 && !RemoveWithRetries(true, m_folder) && result.Succeeded()) {
    result = Failure(OperationStep::RemoveFile, m_files.LastError());
  }
  m_path[0] = 0;
  m_folder[0] = 0;
  return result;
}

namespace {

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

// The folders of path that are missing, made from the top; made[] gets
// each (at most its capacity; deeper ones fail the write instead).
constexpr std::size_t kMostMadeFolders = 16;

class MadeFolders {
 public:
  explicit MadeFolders(PackageFileSeam& files) : m_files(files) {}
  OperationResult Make(const char16_t* folder) {
    const std::size_t length = TextLength(folder);
    // Below the root: "C:\" or "\\server\share\".
    std::size_t from = 3;
    if (length >= 2 && IsSeparator(folder[0]) && IsSeparator(folder[1])) {
      from = 2;
      for (int separators = 0; from < length && separators < 2; ++from) separators += IsSeparator(folder[from]);
    }
    for (std::size_t end = from; end <= length; ++end) {
      if (end < length && !IsSeparator(folder[end])) continue;
      if (end > 0 && IsSeparator(folder[end - 1])) continue;
      char16_t part[kPathCapacity];
      for (std::size_t i = 0; i < end; ++i) part[i] = folder[i];
      part[end] = 0;
      if (m_files.IsFolder(part)) continue;
      if (m_count == kMostMadeFolders || !m_files.CreateFolder(part, false)) {
        const std::uint32_t error = m_count == kMostMadeFolders ? kErrorFilenameTooLong : m_files.LastError();
        Undo();
        return Failure(OperationStep::ExtractFolder, error);
      }
      CopyText(m_made[m_count++], kPathCapacity, part);
    }
    return {};
  }
  void Undo() {
    while (m_count > 0) m_files.RemoveFolder(m_made[--m_count]);
  }

 private:
  PackageFileSeam& m_files;
  char16_t m_made[kMostMadeFolders][kPathCapacity] = {};
  std::size_t m_count = 0;
};

}  // namespace

OperationResult WritePackageTo(PackageFileSeam& files, const char16_t* folder, const char16_t* name,
                               char16_t (&written)[kPathCapacity]) {
  written[0] = 0;
  CarriedPackage package(files);
  const OperationResult opened = package.Open();
  if (!opened.Succeeded()) return opened;
  char16_t final[kPathCapacity];
  char16_t partial[kPathCapacity];
  std::uint8_t random[kRandomBytes];
  char16_t digits[2 * kRandomBytes + 1];
  if (!files.RandomBytes(random, sizeof random)) return Failure(OperationStep::ExtractFolder, files.LastError());
  AppendHex(random, sizeof random, digits);
  const std::size_t length = TextLength(folder);
  const char16_t* separator = length > 0 && IsSeparator(folder[length - 1]) ? u"" : u"\\";
  if (length == 0 || !JoinText(final, kPathCapacity, {folder, separator, name}) ||
      !JoinText(partial, kPathCapacity, {final, u".", digits, u".tmp"})) {
    return Failure(OperationStep::ExtractFolder, kErrorFilenameTooLong);
  }
  MadeFolders made(files);
  const OperationResult madeResult = made.Make(folder);
  if (!madeResult.Succeeded()) return madeResult;

  PackageFileHandle writer = nullptr;
  if (!files.CreateNewFile(partial, false, &writer)) {
    const OperationResult failed = Failure(OperationStep::ExtractFolder, files.LastError());
    made.Undo();
    return failed;
  }
  OperationResult result =
      CopyPackage(files, package.Handle(), package.Size(), writer, OperationStep::ExtractFolder, nullptr);
  if (!files.Close(writer) && result.Succeeded()) result = Failure(OperationStep::ExtractFolder, files.LastError());
  if (result.Succeeded() && !files.MoveReplacing(partial, final)) {
    result = Failure(OperationStep::ExtractFolder, files.LastError());
  }
  if (!result.Succeeded()) {
    files.RemoveFile(partial);
    made.Undo();
    return result;
  }
  CopyText(written, kPathCapacity, final);
  return {};
}

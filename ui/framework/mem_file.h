// A read-only file view of a block of bytes that it neither copies, writes
// nor frees: the terms document is streamed from the resource image this way.
#pragma once

#include <cstddef>
#include <cstdint>

class CFile {
 public:
  virtual ~CFile() = default;
  // Delivers up to count bytes from the current position and advances.
  virtual unsigned int Read(void* buffer, unsigned int count) = 0;
};

class CMemFile : public CFile {
 public:
  CMemFile() = default;
  CMemFile(const CMemFile&) = delete;
  CMemFile& operator=(const CMemFile&) = delete;

  // Attaches the block. With a grow size of 0 the file is a fixed view:
  // its length is size, it never grows and never writes to the bytes.
  void Attach(const std::uint8_t* bytes, unsigned int size, unsigned int growBytes = 0);
  // Lets go of the block, which stays where it is.
  const std::uint8_t* Detach();

  unsigned int Read(void* buffer, unsigned int count) override;
  std::uint64_t GetLength() const { return m_size; }
  std::uint64_t GetPosition() const { return m_position; }

 private:
  const std::uint8_t* m_bytes = nullptr;
  unsigned int m_size = 0;
  unsigned int m_position = 0;
};

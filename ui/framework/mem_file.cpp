#include "ui/framework/mem_file.h"

#include <cstring>

void CMemFile::Attach(const std::uint8_t* bytes, unsigned int size, unsigned int /*growBytes*/) {
  // Only fixed views are needed: a growing memory file would own its block.
  m_bytes = bytes;
  m_size = bytes != nullptr ? size : 0;
  m_position = 0;
}

const std::uint8_t* CMemFile::Detach() {
  const std::uint8_t* bytes = m_bytes;
  m_bytes = nullptr;
  m_size = 0;
  m_position = 0;
  return bytes;
}

unsigned int CMemFile::Read(void* buffer, unsigned int count) {
  const unsigned int left = m_size - m_position;
  const unsigned int delivered = count < left ? count : left;
  if (delivered != 0) std::memcpy(buffer, m_bytes + m_position, delivered);
  m_position += delivered;
  return delivered;
}

#include "ui/framework/afx_string.h"

#include <climits>
#include <cstdlib>
#include <cwchar>

void AfxThrowMemoryException() { std::abort(); }

CString::~CString() { std::free(m_data); }

bool CString::operator==(const wchar_t* text) const {
  return std::wcscmp(GetString(), text != nullptr ? text : L"") == 0;
}

void CString::Replace(int keep, const wchar_t* text) {
  const std::size_t added = text != nullptr ? std::wcslen(text) : 0;
  if (added >= static_cast<std::size_t>(INT_MAX - keep)) AfxThrowMemoryException();
  const int length = keep + static_cast<int>(added);
  // A new buffer before the old one goes: text may point into it.
  auto* grown = static_cast<wchar_t*>(std::malloc((static_cast<std::size_t>(length) + 1) * sizeof(wchar_t)));
  if (grown == nullptr) AfxThrowMemoryException();
  if (keep > 0) std::wmemcpy(grown, m_data, static_cast<std::size_t>(keep));
  if (added > 0) std::wmemcpy(grown + keep, text, added);
  grown[length] = L'\0';
  std::free(m_data);
  m_data = grown;
  m_length = length;
  m_capacity = length + 1;
}

wchar_t* CString::GetBufferSetLength(int length) {
  if (length < 0) length = 0;
  if (length == INT_MAX) AfxThrowMemoryException();
  auto* buffer = static_cast<wchar_t*>(std::calloc(static_cast<std::size_t>(length) + 1, sizeof(wchar_t)));
  if (buffer == nullptr) AfxThrowMemoryException();
  std::free(m_data);
  m_data = buffer;
  m_length = 0;
  m_capacity = length + 1;
  return buffer;
}

void CString::ReleaseBuffer() {
  if (m_data == nullptr) return;
  m_data[m_capacity - 1] = L'\0';
  m_length = static_cast<int>(std::wcslen(m_data));
}

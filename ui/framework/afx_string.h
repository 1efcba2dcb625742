// Text:
//   CString                   a terminated UTF-16 text on the heap
//   AfxThrowMemoryException   ends the process when memory runs out
#pragma once

// Ends the process: without exceptions there is nothing that could catch a
// failed allocation, and the UI cannot go on without its texts.
[[noreturn]] void AfxThrowMemoryException();

// A terminated UTF-16 text on the heap. Not std::wstring: the library's
// string pulls the runtime's exception machinery into the executable.
class CString {
 public:
  CString() = default;
  CString(const wchar_t* text) { Replace(0, text); }
  CString(const CString& other) { Replace(0, other.GetString()); }
  ~CString();
  CString& operator=(const CString& other) {
    Replace(0, other.GetString());
    return *this;
  }
  CString& operator=(const wchar_t* text) {
    Replace(0, text);
    return *this;
  }
  CString& operator+=(const wchar_t* text) {
    Replace(m_length, text);
    return *this;
  }
  bool IsEmpty() const { return m_length == 0; }
  int GetLength() const { return m_length; }
  const wchar_t* GetString() const { return m_data != nullptr ? m_data : L""; }
  operator const wchar_t*() const { return GetString(); }
  // A null text compares like the empty one.
  bool operator==(const wchar_t* text) const;

  // Room for length units and a terminator, zeroed, for an API to fill;
  // ReleaseBuffer then takes the text up to its first terminator.
  wchar_t* GetBufferSetLength(int length);
  void ReleaseBuffer();

 private:
  // Keeps the first keep units and appends text (which may lie inside this
  // string) in a new buffer.
  void Replace(int keep, const wchar_t* text);

  wchar_t* m_data = nullptr;
  int m_length = 0;
  int m_capacity = 0;  // units, terminator included
};

#include "text.h"

#include <windows.h>

#include <cwchar>

namespace e2e {

std::string Narrow(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), size, nullptr, nullptr);
  out.resize(static_cast<size_t>(size - 1));
  return out;
}

std::wstring Widen(const std::string& text) {
  if (text.empty()) return {};
  const int size = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
  std::wstring out(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, out.data(), size);
  out.resize(static_cast<size_t>(size - 1));
  return out;
}

std::string Shown(const std::wstring& text) {
  if (text.size() <= 90) return "\"" + Narrow(text) + "\"";
  return "\"" + Narrow(text.substr(0, 40)) + "..." + Narrow(text.substr(text.size() - 40)) +
         "\" (" + std::to_string(text.size()) + " chars)";
}

std::wstring Env(const std::wstring& name) {
  const DWORD size = GetEnvironmentVariableW(name.c_str(), nullptr, 0);
  if (size == 0) return {};
  std::wstring value(size, L'\0');
  value.resize(GetEnvironmentVariableW(name.c_str(), value.data(), size));
  return value;
}

bool ParseInt(const std::wstring& word, long* value) {
  if (word.empty()) return false;
  wchar_t* end = nullptr;
  const bool hex = word.size() > 2 && word[0] == L'0' && (word[1] == L'x' || word[1] == L'X');
  *value = hex ? static_cast<long>(wcstoul(word.c_str(), &end, 16)) : wcstol(word.c_str(), &end, 10);
  return *end == L'\0';
}

}  // namespace e2e

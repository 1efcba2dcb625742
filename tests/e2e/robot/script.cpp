#include "script.h"

#include <windows.h>

#include <cstdio>
#include <cwctype>

namespace e2e {

bool SplitLine(const std::wstring& line, Words* words, std::wstring* error) {
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && iswspace(line[i])) ++i;
    if (i >= line.size() || line[i] == L'#') break;
    std::wstring word;
    const bool quoted = line[i] == L'"';
    if (quoted) ++i;
    while (i < line.size() && (quoted ? line[i] != L'"' : !iswspace(line[i]))) {
      if (line[i] == L'$' && i + 1 < line.size() && line[i + 1] == L'{') {
        const size_t close = line.find(L'}', i);
        if (close == std::wstring::npos) {
          *error = L"unclosed ${";
          return false;
        }
        const std::wstring name = line.substr(i + 2, close - i - 2);
        if (GetEnvironmentVariableW(name.c_str(), nullptr, 0) == 0) {
          *error = L"variable not set: " + name;
          return false;
        }
        word += Env(name);
        i = close + 1;
        continue;
      }
      word += line[i++];
    }
    if (quoted) {
      if (i >= line.size()) {
        *error = L"unclosed quote";
        return false;
      }
      ++i;
    }
    words->push_back(word);
  }
  return true;
}

bool ReadScript(const wchar_t* path, std::vector<Command>* commands) {
  FILE* file = _wfopen(path, L"rb");
  if (file == nullptr) {
    std::printf("robot: cannot open script %s\n", Narrow(path).c_str());
    return false;
  }
  std::string content;
  char chunk[4096];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) content.append(chunk, got);
  std::fclose(file);

  int number = 0;
  size_t start = 0;
  bool ok = true;
  while (start <= content.size()) {
    size_t end = content.find('\n', start);
    if (end == std::string::npos) end = content.size();
    std::string raw = content.substr(start, end - start);
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    ++number;
    Command command;
    command.line = number;
    std::wstring error;
    if (!SplitLine(Widen(raw), &command.words, &error)) {
      std::printf("robot: line %d: %s\n", number, Narrow(error).c_str());
      ok = false;
    } else if (!command.words.empty()) {
      commands->push_back(std::move(command));
    }
    start = end + 1;
  }
  return ok;
}

}  // namespace e2e

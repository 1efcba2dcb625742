#include "message_trace.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads exactly digits hex digits; false when they are not all there.
bool ReadHex(std::string_view text, std::size_t digits, unsigned int* value) {
  if (text.size() < digits) return false;
  unsigned int result = 0;
  for (std::size_t i = 0; i < digits; ++i) {
    const int digit = HexValue(text[i]);
    if (digit < 0) return false;
    result = result * 16 + static_cast<unsigned int>(digit);
  }
  *value = result;
  return true;
}

bool ParseLine(std::string_view line, TraceMessage* message) {
  unsigned int type = 0;
  if (!ReadHex(line, 8, &type)) return false;
  message->type = type;
  const std::string_view rest = line.substr(8);
  if (rest.empty()) {
    message->hasText = false;
    message->text.clear();
    return true;
  }
  if (rest.size() < 2 || rest.front() != '|' || rest.back() != '|') return false;
  message->hasText = true;
  message->text = DecodeTraceText(rest.substr(1, rest.size() - 2));
  return true;
}

}  // namespace

std::u16string DecodeTraceText(std::string_view field) {
  std::u16string text;
  text.reserve(field.size());
  for (std::size_t i = 0; i < field.size(); ++i) {
    const char c = field[i];
    if (c != '\\' || i + 1 == field.size()) {
      text.push_back(static_cast<unsigned char>(c));
      continue;
    }
    const char e = field[i + 1];
    unsigned int unit = 0;
    if (e == '\\' || e == 'n' || e == 'r' || e == 't') {
      text.push_back(e == 'n' ? u'\n' : e == 'r' ? u'\r' : e == 't' ? u'\t' : u'\\');
      ++i;
    } else if (e == 'u' && ReadHex(field.substr(i + 2), 4, &unit)) {
      text.push_back(static_cast<char16_t>(unit));
      i += 5;
    } else {
      text.push_back(u'\\');
    }
  }
  return text;
}

bool ParseTrace(std::string_view content, std::vector<TraceMessage>* messages) {
  bool wellFormed = true;
  while (!content.empty()) {
    const std::size_t lineEnd = content.find('\n');
    std::string_view line = content.substr(0, lineEnd);
    content = lineEnd == std::string_view::npos ? std::string_view() : content.substr(lineEnd + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    TraceMessage message;
    if (ParseLine(line, &message)) {
      messages->push_back(std::move(message));
    } else {
      wellFormed = false;
    }
  }
  return wellFormed;
}

bool ReadTraceFile(const std::string& path, std::vector<TraceMessage>* messages) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  std::ostringstream content;
  content << file.rdbuf();
  return ParseTrace(content.str(), messages);
}

std::string FormatTraceLine(const TraceMessage& message) {
  char type[9];
  std::snprintf(type, sizeof type, "%08x", message.type);
  std::string line = type;
  if (!message.hasText) return line;
  line += '|';
  for (const char16_t unit : message.text) {
    if (unit == u'\\') {
      line += "\\\\";
    } else if (unit == u'\n') {
      line += "\\n";
    } else if (unit == u'\r') {
      line += "\\r";
    } else if (unit == u'\t') {
      line += "\\t";
    } else if (unit >= 0x20 && unit < 0x7F) {
      line += static_cast<char>(unit);
    } else {
      char escape[7];
      std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned int>(unit));
      line += escape;
    }
  }
  line += '|';
  return line;
}

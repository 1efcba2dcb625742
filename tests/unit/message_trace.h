// Captured installer message sequences: one message a line,
//   tttttttt|text|     the message type in hex, the text between the first
//                      and the last bar (so trailing blanks survive), with
//                      the escapes \\ \n \r \t and \uXXXX
//   tttttttt           a message with a null text
// Lines starting with # are comments. Captured from Wine's installer
// service by the Win32 suite and replayed by unit tests, fuzzing and the
// benchmark.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct TraceMessage {
  unsigned int type = 0;
  bool hasText = false;  // false: the service passed a null text
  std::u16string text;
};

// The text of a trace line's text field, escapes resolved; malformed
// escapes are taken literally.
std::u16string DecodeTraceText(std::string_view field);

// Appends every well-formed line of content to messages; false when some
// line was malformed (it is skipped).
bool ParseTrace(std::string_view content, std::vector<TraceMessage>* messages);

// Reads a trace file; false when it cannot be read or is malformed.
bool ReadTraceFile(const std::string& path, std::vector<TraceMessage>* messages);

// One line, without its line end, that ParseTrace reads back as message.
std::string FormatTraceLine(const TraceMessage& message);

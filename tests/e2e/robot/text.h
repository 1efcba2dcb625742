// Text helpers of the robot: conversions, the shortened form of a text in
// messages, the environment, numbers in scripts.
#pragma once

#include <string>
#include <vector>

namespace e2e {

using Words = std::vector<std::wstring>;

std::string Narrow(const std::wstring& text);
std::wstring Widen(const std::string& text);
// Quoted for a message; a long text (a 300-character folder) is shortened.
std::string Shown(const std::wstring& text);
// An environment variable of the robot; empty when it is not set.
std::wstring Env(const std::wstring& name);
// A decimal number, or a hexadecimal one with 0x; the whole word must be it.
bool ParseInt(const std::wstring& word, long* value);

}  // namespace e2e

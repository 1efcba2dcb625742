// Who holds the plug-in: the running programs that hold files the install
// will replace (the installed version's library loaded by the host, above
// all), found before anything changes and reported by the service while it
// works. The installer never ends or closes another program itself: the
// user closes them, or a restart of Windows finishes the install.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/text.h"
#include "installer/in_use_seam.h"

// A program's name as the user knows it (Restart Manager's application
// name, or the description in its executable's version block).
inline constexpr std::size_t kProgramNameCapacity = 128;

struct HoldingProgram {
  std::uint32_t processId = 0;      // 0 when the service named it without one
  char16_t name[kProgramNameCapacity] = {};  // empty when it has none
  char16_t executable[kPathCapacity] = {};   // a full path, or a file name
};

// The programs found, in the order they were found, each process once; a
// few are kept, the rest counted.
class HoldingPrograms {
 public:
  static constexpr std::size_t kKept = 16;

  // Adds a program unless its process (or, without one, its executable) is
  // listed already; texts too long for their fields are cut.
  void Add(std::uint32_t processId, const char16_t* name, const char16_t* executable);
  void Clear() { m_count = m_kept = 0; }

  bool Empty() const { return m_count == 0; }
  // Every program added, kept or not.
  std::size_t Count() const { return m_count; }
  std::size_t Kept() const { return m_kept; }
  const HoldingProgram& operator[](std::size_t index) const { return m_programs[index]; }

 private:
  HoldingProgram m_programs[kKept];
  std::size_t m_kept = 0;
  std::size_t m_count = 0;
};

// What the install will replace: the files the service knows of the
// installed version, the folder the package recorded for it, and the
// host's own folder, whose programs may load the plug-in at any time.
struct InUseTargets {
  static constexpr std::size_t kMostFiles = 32;
  char16_t pluginFolder[kPathCapacity] = {};  // empty: unknown
  char16_t hostFolder[kPathCapacity] = {};    // empty: unknown
  char16_t files[kMostFiles][kPathCapacity] = {};
  std::size_t fileCount = 0;

  void AddFile(const char16_t* path);
};

// Every running program that holds one of the targets, by Restart Manager
// and by the modules loaded in each process; each named as the user knows
// it where the system can tell. Those two are asked only when a quick look
// sees a target that cannot be changed now or a program from the host's
// folder.
void FindHoldingPrograms(const InUseTargets& targets, InUseSeam& system, HoldingPrograms& found);

// The program's name for a line of text: its name, else its executable's
// file name.
const char16_t* ProgramName(const HoldingPrograms& programs, std::size_t index);

// The box that asks the user, at most ten programs and then how many more:
//   These programs use files of <DisplayName>:
//   <name> (<file name>)
//   ...
//   Close them and choose Try Again, or choose Continue to finish the
//   installation at the next restart of Windows.
inline constexpr std::size_t kInUseTextCapacity = 2048;
// Its buttons: Cancel, Try Again (the default) and Continue, with a warning
// (MB_CANCELTRYCONTINUE | MB_ICONWARNING | MB_DEFBUTTON2), and its answers.
inline constexpr unsigned int kInUseBoxStyle = 0x0006 | 0x0030 | 0x0100;
inline constexpr int kAnswerTryAgain = 10;  // IDTRYAGAIN
inline constexpr int kAnswerContinue = 11;  // IDCONTINUE
inline constexpr std::size_t kInUseLinesShown = 10;
const char16_t* InUseText(const HoldingPrograms& programs, char16_t (&buffer)[kInUseTextCapacity]);

// Whether a path is the file or lies in the folder (which ends in a
// backslash or not), as Windows compares paths: case does not matter, and
// "/" is "\".
bool SamePath(const char16_t* a, const char16_t* b);
bool PathIsIn(const char16_t* path, const char16_t* folder);

// The file name of a path: what follows its last separator.
const char16_t* FileNameOf(const char16_t* path);

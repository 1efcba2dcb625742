#include "installer/in_use.h"

#include "product/product_config.h"

namespace {

char16_t Folded(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 32);
  return c == u'/' ? u'\\' : c;
}

// Copies what fits of text into buffer, ending in "..." when it was cut.
void CopyCut(char16_t* buffer, std::size_t capacity, const char16_t* text) {
  std::size_t n = 0;
  for (; text != nullptr && text[n] != 0 && n + 1 < capacity; ++n) buffer[n] = text[n];
  buffer[n] = 0;
  if (text != nullptr && text[n] != 0 && capacity > 4) {
    for (std::size_t i = capacity - 4; i < capacity - 1; ++i) buffer[i] = u'.';
  }
}

// Whether a process's module (its executable among them) is one of the
// targets: anything started from the host's folder, anything loaded from
// the plug-in's, or one of the product's files wherever it is.
bool Targeted(const InUseTargets& targets, const char16_t* executable, const char16_t* module) {
  if (targets.hostFolder[0] != 0 && PathIsIn(executable, targets.hostFolder)) return true;
  if (targets.pluginFolder[0] != 0 && PathIsIn(module, targets.pluginFolder)) return true;
  for (std::size_t i = 0; i < targets.fileCount; ++i) {
    if (SamePath(module, targets.files[i])) return true;
  }
  return false;
}

// The quick look: a program started from the host's folder (or one of the
// targets itself), or a file of the targets or of the plug-in's folder that
// cannot be changed now. Where nothing is, and that is the usual case, the
// walk over every process's modules and Restart Manager's are spared.
class QuickLook final : public InUseSeam::Visitor {
 public:
  QuickLook(const InUseTargets& targets, InUseSeam& system) : m_targets(targets), m_system(system) {}

  bool Held() {
    if (m_targets.hostFolder[0] == 0 && m_targets.pluginFolder[0] == 0 && m_targets.fileCount == 0) return false;
    for (std::size_t i = 0; i < m_targets.fileCount && !m_held; ++i) m_held = m_system.Busy(m_targets.files[i]);
    if (!m_held && m_targets.pluginFolder[0] != 0) m_system.ForEachFileIn(m_targets.pluginFolder, *this);
    if (!m_held) m_system.ForEachProgram(*this);
    return m_held;
  }

  void File(const char16_t* path, const char16_t*) override {
    if (!m_held) m_held = m_system.Busy(path);
  }

  bool Module(std::uint32_t, const char16_t* executable, const char16_t* module) override {
    m_held = Targeted(m_targets, executable, module);
    return !m_held;
  }

 private:
  const InUseTargets& m_targets;
  InUseSeam& m_system;
  bool m_held = false;
};

// Finds holders: Restart Manager's, then those whose modules are targets.
class Finder final : public InUseSeam::Visitor {
 public:
  Finder(const InUseTargets& targets, InUseSeam& system, HoldingPrograms& found)
      : m_targets(targets), m_system(system), m_found(found) {}

  void Holder(std::uint32_t processId, const char16_t* name, const char16_t* executable) override {
    m_found.Add(processId, name, executable);
  }

  bool Module(std::uint32_t processId, const char16_t* executable, const char16_t* module) override {
    if (processId == m_lastHolder || !Targeted(m_targets, executable, module)) return true;
    m_lastHolder = processId;
    char16_t description[kProgramNameCapacity] = {};
    if (!m_system.Describe(executable, description, kProgramNameCapacity)) description[0] = 0;
    m_found.Add(processId, description, executable);
    return true;
  }

 private:
  const InUseTargets& m_targets;
  InUseSeam& m_system;
  HoldingPrograms& m_found;
  std::uint32_t m_lastHolder = 0;
};

}  // namespace

void HoldingPrograms::Add(std::uint32_t processId, const char16_t* name, const char16_t* executable) {
  if (executable == nullptr) executable = u"";
  for (std::size_t i = 0; i < m_kept; ++i) {
    const HoldingProgram& known = m_programs[i];
    if (processId != 0 ? known.processId == processId : SamePath(known.executable, executable)) {
      // A name learnt later (Restart Manager's, say) is kept.
      if (known.name[0] == 0 && name != nullptr) CopyCut(m_programs[i].name, kProgramNameCapacity, name);
      return;
    }
  }
  ++m_count;
  if (m_kept == kKept) return;
  HoldingProgram& added = m_programs[m_kept++];
  added.processId = processId;
  CopyCut(added.name, kProgramNameCapacity, name);
  CopyCut(added.executable, kPathCapacity, executable);
}

void InUseTargets::AddFile(const char16_t* path) {
  if (path == nullptr || path[0] == 0 || fileCount == kMostFiles) return;
  if (CopyText(files[fileCount], kPathCapacity, path)) ++fileCount;
}

void FindHoldingPrograms(const InUseTargets& targets, InUseSeam& system, HoldingPrograms& found) {
  if (!QuickLook(targets, system).Held()) return;
  Finder finder(targets, system, found);
  const char16_t* files[InUseTargets::kMostFiles];
  for (std::size_t i = 0; i < targets.fileCount; ++i) files[i] = targets.files[i];
  if (targets.fileCount > 0) system.ForEachRestartManagerHolder(files, targets.fileCount, finder);
  system.ForEachModule(finder);
}

const char16_t* ProgramName(const HoldingPrograms& programs, std::size_t index) {
  const HoldingProgram& program = programs[index];
  return program.name[0] != 0 ? program.name : FileNameOf(program.executable);
}

const char16_t* InUseText(const HoldingPrograms& programs, char16_t (&buffer)[kInUseTextCapacity]) {
  // Each line short enough for a box; a name of any length is cut.
  constexpr std::size_t kNameShown = 64;
  constexpr std::size_t kFileShown = 48;
  buffer[0] = 0;
  JoinText(buffer, kInUseTextCapacity, {u"These programs use files of ", ProductConfig::DisplayName, u":\n"});
  const std::size_t shown = programs.Kept() < kInUseLinesShown ? programs.Kept() : kInUseLinesShown;
  for (std::size_t i = 0; i < shown; ++i) {
    char16_t name[kNameShown];
    char16_t file[kFileShown];
    CopyCut(name, kNameShown, programs[i].name);
    CopyCut(file, kFileShown, FileNameOf(programs[i].executable));
    if (name[0] == 0 && file[0] == 0) {
      char16_t number[11];
      JoinText(buffer + TextLength(buffer), kInUseTextCapacity - TextLength(buffer),
               {u"\nProcess ", DecimalText(programs[i].processId, number)});
    } else if (name[0] == 0 || file[0] == 0 || SameText(name, file)) {
      JoinText(buffer + TextLength(buffer), kInUseTextCapacity - TextLength(buffer),
               {u"\n", name[0] != 0 ? name : file});
    } else {
      JoinText(buffer + TextLength(buffer), kInUseTextCapacity - TextLength(buffer),
               {u"\n", name, u" (", file, u")"});
    }
  }
  if (programs.Count() > shown) {
    char16_t number[11];
    JoinText(buffer + TextLength(buffer), kInUseTextCapacity - TextLength(buffer),
             {u"\nand ", DecimalText(static_cast<std::uint32_t>(programs.Count() - shown), number), u" more"});
  }
  AppendText(buffer, kInUseTextCapacity,
             u"\n\nClose them and choose Try Again, or choose Continue to finish the installation at the "
             u"next restart of Windows.");
  return buffer;
}

bool SamePath(const char16_t* a, const char16_t* b) {
  if (a == nullptr || b == nullptr) return false;
  for (; *a != 0 && Folded(*a) == Folded(*b); ++a, ++b) {
  }
  return *a == 0 && *b == 0;
}

bool PathIsIn(const char16_t* path, const char16_t* folder) {
  if (path == nullptr || folder == nullptr || folder[0] == 0) return false;
  std::size_t n = 0;
  for (; folder[n] != 0; ++n) {
    if (Folded(path[n]) != Folded(folder[n])) return false;
  }
  // "C:\Host\" holds "C:\Host\x"; "C:\Host" holds "C:\Host\x", not "C:\Hosts".
  return Folded(folder[n - 1]) == u'\\' ? path[n] != 0 : Folded(path[n]) == u'\\' && path[n + 1] != 0;
}

const char16_t* FileNameOf(const char16_t* path) {
  if (path == nullptr) return u"";
  const char16_t* name = path;
  for (const char16_t* at = path; *at != 0; ++at) {
    if (*at == u'\\' || *at == u'/' || *at == u':') name = at + 1;
  }
  return name;
}

// What finding the programs that hold the plug-in needs from the system:
// the installed product's files as the service knows them, the modules of
// the running processes, whether a file can be changed now, Restart
// Manager's view, a program's description, and the renames waiting for a
// restart. The product wires the Win32 side
// (Restart Manager, the toolhelp snapshots, the version block, the
// registry); unit tests wire a fake.
#pragma once

#include <cstddef>
#include <cstdint>

class InUseSeam {
 public:
  virtual ~InUseSeam() = default;

  class Visitor {
   public:
    virtual ~Visitor() = default;
    // A file: a component's key path, or a rename's file (with where it
    // goes, empty when it is to be deleted).
    virtual void File(const char16_t* /*path*/, const char16_t* /*to*/) {}
    // A module loaded in a process other than ours, with the process's
    // executable (the executable itself among the modules). False stops.
    virtual bool Module(std::uint32_t /*processId*/, const char16_t* /*executable*/,
                        const char16_t* /*module*/) {
      return false;
    }
    // A program that Restart Manager says holds one of the files.
    virtual void Holder(std::uint32_t /*processId*/, const char16_t* /*name*/,
                        const char16_t* /*executable*/) {}
  };

  // The installed files of the product's components, by the service
  // (MsiEnumComponents, MsiEnumClients, MsiGetComponentPath).
  virtual void ForEachComponentFile(const char16_t* productCode, Visitor& visitor) = 0;
  // Every module of every process the system lists, ours aside.
  virtual void ForEachModule(Visitor& visitor) = 0;
  // Every process's executable alone, ours aside, as a Module whose module
  // is the executable: the quick look.
  virtual void ForEachProgram(Visitor& visitor) = 0;
  // The files directly in folder, as Files without a "to".
  virtual void ForEachFileIn(const char16_t* folder, Visitor& visitor) = 0;
  // Whether the file is there and cannot be opened to change its bytes now
  // (a program has it loaded, or holds it against writers, or we may not
  // tell); a file that is not there is not busy.
  virtual bool Busy(const char16_t* file) = 0;
  // The programs that hold any of the count files, by Restart Manager.
  virtual void ForEachRestartManagerHolder(const char16_t* const* files, std::size_t count,
                                           Visitor& visitor) = 0;
  // The description in the executable's version block (FileDescription)
  // into buffer; false without one.
  virtual bool Describe(const char16_t* executable, char16_t* buffer, std::size_t capacity) = 0;
  // The renames and deletions waiting for the next restart
  // (PendingFileRenameOperations), each once.
  virtual void ForEachPendingRename(Visitor& visitor) = 0;
};

#include "installer/run_log.h"

#include "core/text.h"

namespace {

constexpr std::size_t kLineCapacity = 1024;

const char16_t* StepName(OperationStep step) {
  switch (step) {
    case OperationStep::None: return u"none";
    case OperationStep::CheckFolder: return u"the folder";
    case OperationStep::TempFolder: return u"the temp folder";
    case OperationStep::WorkFolder: return u"the work folder";
    case OperationStep::PackageResource: return u"the embedded package";
    case OperationStep::CreateFile: return u"creating the package file";
    case OperationStep::WriteFile: return u"writing the package file";
    case OperationStep::CloseFile: return u"closing the package file";
    case OperationStep::HoldFile: return u"holding the package file";
    case OperationStep::RemoveFile: return u"deleting the package file";
    case OperationStep::NoPackage: return u"no package";
    case OperationStep::RemoveProduct: return u"the removal (still registered)";
    case OperationStep::InstallProduct: return u"the install (not registered)";
  }
  return u"unknown";
}

}  // namespace

const char16_t* DecimalText(std::uint32_t value, char16_t (&buffer)[11]) {
  char16_t* at = buffer + 10;
  *at = 0;
  do {
    *--at = static_cast<char16_t>(u'0' + value % 10);
    value /= 10;
  } while (value != 0);
  return at;
}

void LogLine(RunLog& log, std::initializer_list<const char16_t*> parts) {
  char16_t line[kLineCapacity];
  std::size_t at = 0;
  bool cut = false;
  for (const char16_t* part : parts) {
    for (; part != nullptr && *part != 0; ++part) {
      if (at + 1 == kLineCapacity) {
        cut = true;
        break;
      }
      line[at++] = *part;
    }
  }
  if (cut) at -= 3;
  line[at] = 0;
  if (cut) AppendText(line, kLineCapacity, u"...");
  log.Write(line);
}

void LogResult(RunLog& log, const char16_t* what, const OperationResult& result) {
  char16_t code[11];
  if (result.Succeeded()) {
    LogLine(log, {what, u": result ", DecimalText(result.code, code)});
  } else {
    LogLine(log, {what, u": failed at ", StepName(result.failedStep), u", error ",
                  DecimalText(result.code, code)});
  }
}

void LogInstallState(RunLog& log, const char16_t* when, InstallState state) {
  const char16_t* text = u"not installed";
  if (state == InstallState::UpToDate) text = u"this version or a newer one is installed";
  if (state == InstallState::OlderInstalled) text = u"an older version is installed";
  LogLine(log, {when, u": ", text});
}

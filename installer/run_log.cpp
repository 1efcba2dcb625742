#include "installer/run_log.h"

#include "core/text.h"

namespace {

constexpr std::size_t kLineCapacity = 1024;

}  // namespace

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
    LogLine(log, {what, u": result ", DecimalText(result.Code(), code)});
  } else {
    LogLine(log, {what, u": failed at ", StepName(result.failedStep), u", error ",
                  DecimalText(result.Code(), code)});
  }
}

void LogInstallState(RunLog& log, const char16_t* when, InstallState state) {
  const char16_t* text = u"not installed";
  if (state == InstallState::UpToDate) text = u"this version or a newer one is installed";
  if (state == InstallState::OlderInstalled) text = u"an older version is installed";
  LogLine(log, {when, u": ", text});
}

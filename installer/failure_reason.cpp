#include "installer/failure_reason.h"

#include "core/text.h"
#include "installer/exit_code.h"
#include "installer/run_log.h"

namespace {

// "<text> (error <code>).", or "<text>." without a code.
const char16_t* WithCode(const char16_t* text, std::uint32_t code, char16_t (&buffer)[kFailureReasonCapacity]) {
  char16_t number[11];
  if (code == 0) {
    JoinText(buffer, kFailureReasonCapacity, {text, u"."});
  } else {
    JoinText(buffer, kFailureReasonCapacity, {text, u" (error ", DecimalText(code, number), u")."});
  }
  return buffer;
}

}  // namespace

const char16_t* FailureReason(const OperationResult& last, char16_t (&buffer)[kFailureReasonCapacity]) {
  buffer[0] = 0;
  if (last.code == kExitAnotherInstall) {
    CopyText(buffer, kFailureReasonCapacity, kAnotherInstallText);
    return buffer;
  }
  switch (last.failedStep) {
    case OperationStep::CheckFolder:
      return WithCode(u"The installation folder cannot be used", last.code, buffer);
    case OperationStep::TempFolder:
    case OperationStep::WorkFolder:
    case OperationStep::CreateFile:
    case OperationStep::WriteFile:
    case OperationStep::CloseFile:
    case OperationStep::HoldFile:
      return WithCode(u"The installation package could not be written to the temp folder", last.code, buffer);
    case OperationStep::RemoveFile:
      return WithCode(u"The installation package could not be deleted from the temp folder", last.code, buffer);
    case OperationStep::PackageResource:
    case OperationStep::NoPackage:
      return WithCode(u"This installer carries no usable installation package", last.code, buffer);
    case OperationStep::RemoveProduct:
      if (ServiceClaimsSuccess(last.code)) return WithCode(u"The older version is still registered after its removal", 0, buffer);
      return WithCode(u"The older version could not be removed", last.code, buffer);
    case OperationStep::InstallProduct:
    case OperationStep::None:
      break;
  }
  if (ServiceClaimsSuccess(last.code)) {
    return WithCode(u"The Windows Installer service reported success, but nothing was registered", 0, buffer);
  }
  char16_t number[11];
  JoinText(buffer, kFailureReasonCapacity,
           {u"The Windows Installer service reported error ", DecimalText(last.code, number), u"."});
  return buffer;
}

#include "installer/operation_result.h"

#include "core/text.h"

namespace {

struct StepText {
  OperationStep step;
  const char16_t* name;  // in the log
  const char16_t* line;  // a failed run's line, before its code
};

// Every step, in the order of the enum.
constexpr char16_t kPackageNotWritten[] = u"The installation package could not be written to the temp folder";
constexpr StepText kSteps[] = {
    {OperationStep::None, u"none", nullptr},
    {OperationStep::CheckFolder, u"the folder", u"The installation folder cannot be used"},
    {OperationStep::TempFolder, u"the temp folder", kPackageNotWritten},
    {OperationStep::WorkFolder, u"the work folder", kPackageNotWritten},
    {OperationStep::PackageResource, u"the embedded package", u"This installer carries no usable installation package"},
    {OperationStep::CreateFile, u"creating the package file", kPackageNotWritten},
    {OperationStep::WriteFile, u"writing the package file", kPackageNotWritten},
    {OperationStep::CloseFile, u"closing the package file", kPackageNotWritten},
    {OperationStep::HoldFile, u"holding the package file", kPackageNotWritten},
    {OperationStep::RemoveFile, u"deleting the package file",
     u"The installation package could not be deleted from the temp folder"},
    {OperationStep::NoPackage, u"no package", u"This installer carries no usable installation package"},
    {OperationStep::RemoveProduct, u"the removal (still registered)", u"The older version could not be removed"},
    {OperationStep::InstallProduct, u"the install (not registered)", u"The Windows Installer service reported error"},
    {OperationStep::NotInstalled, u"nothing to remove", u"The plug-in is not installed"},
    {OperationStep::ExtractFolder, u"the folder to write the package to",
     u"The installation package could not be written to that folder"},
    {OperationStep::PackageRead, u"reading the embedded package",
     u"This installer is incomplete or damaged; download it again"},
};
static_assert(static_cast<std::size_t>(OperationStep::PackageRead) + 1 == sizeof kSteps / sizeof kSteps[0]);

const StepText& TextOf(OperationStep step) {
  const auto at = static_cast<std::size_t>(step);
  return kSteps[at < sizeof kSteps / sizeof kSteps[0] ? at : 0];
}

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

const char16_t* StepName(OperationStep step) { return TextOf(step).name; }

const char16_t* FailureReason(const OperationResult& last, char16_t (&buffer)[kFailureReasonCapacity]) {
  buffer[0] = 0;
  if (last.called && last.service.status == ServiceStatus::Busy) {
    CopyText(buffer, kFailureReasonCapacity, kAnotherInstallText);
    return buffer;
  }
  // The service said yes, and the registration says otherwise.
  if (last.called && last.service.ClaimsSuccess()) {
    if (last.failedStep == OperationStep::RemoveProduct) {
      return WithCode(u"The older version is still registered after its removal", 0, buffer);
    }
    return WithCode(u"The Windows Installer service reported success, but nothing was registered", 0, buffer);
  }
  const char16_t* line = TextOf(last.failedStep).line;
  if (line == nullptr || last.failedStep == OperationStep::InstallProduct) {
    char16_t number[11];
    JoinText(buffer, kFailureReasonCapacity,
             {TextOf(OperationStep::InstallProduct).line, u" ", DecimalText(last.Code(), number), u"."});
    return buffer;
  }
  return WithCode(line, last.Code(), buffer);
}

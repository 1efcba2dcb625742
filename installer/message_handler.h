// The external UI handler of the installer calls: answers each message of
// the service, shows its errors, and turns its progress and common-data
// messages into progress-bar moves, action text and the error box language.
// Its state and effects come through the context, a ProgressContext.
#pragma once

#include "installer/message_parser.h"
#include "installer/progress_context.h"

// Registered with the service (InstallUiHandler shape); context is the
// ProgressContext of the operations, and a null one is answered with 0.
int InstallerMessageHandler(void* context, unsigned int messageType, const char16_t* message);

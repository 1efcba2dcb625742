// The external UI handler of the installer calls: answers each message of
// the service, hands its questions to the observer, and turns its progress
// and common-data messages into progress, action text and the language of
// its error boxes. Its state and observer come through the context, a
// ProgressContext.
#pragma once

#include "installer/message_parser.h"
#include "installer/progress_context.h"

// Registered with the service (InstallUiHandler shape); context is the
// ProgressContext of the operations, and a null one is answered with 0.
int InstallerMessageHandler(void* context, unsigned int messageType, const char16_t* message);

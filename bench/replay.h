// Replaying a captured trace through the handler as an installer call
// would deliver it, for the benchmarks.
#pragma once

#include <string>
#include <vector>

#include "message_trace.h"

// The messages of a trace in tests/fixtures/traces, or none.
std::vector<TraceMessage> LoadFixtureTrace(const char* name);

// Only its progress messages.
std::vector<TraceMessage> ProgressMessages(const std::vector<TraceMessage>& trace);

// Fresh ProgressContext, with an observer that shows nothing.
void StartInstallerCall();

// Sends every message; returns the sum of the answers (kept so that the
// work cannot be optimised away).
int Replay(const std::vector<TraceMessage>& trace);

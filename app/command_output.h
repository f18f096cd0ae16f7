#pragma once

#include <string>

namespace tanabashigo {

/// Writes `text` to standard output and flushes it; when any of it cannot be written, says so
/// on standard error and returns false (the command then ends with exit status 1).
bool writeStandardOutput(const std::string& text);

/// Writes `text` to standard error, as far as it can.
void writeStandardError(const std::string& text);

/// The exit status of a command whose work answered `status` and whose output is `text`:
/// 1 when the output cannot be written, else `status`.
int finishWithOutput(const std::string& text, int status);

}  // namespace tanabashigo

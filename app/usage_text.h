#pragma once

namespace tanabashigo {

/// The --help text, in Japanese and English.
const char* usageText();

}  // namespace tanabashigo

#pragma once

#include <optional>
#include <string_view>

#include "geometry.h"

namespace tanabashigo {

/// The number at the start of a UTF-8 text.
///
/// Blanks, tabs and line feeds anywhere are skipped ("1 2" reads 12); full-width digits,
/// signs, point, exponent letter and the ideographic space read as their ASCII twins. The
/// number may carry a sign, a decimal fraction and an exponent; reading stops at the first
/// character that cannot continue it. A text without a leading number reads 0; a number
/// beyond the range of a double reads as an infinity of its sign.
double readLeadingNumber(std::string_view text);

/// The rung count an answer at the prompt asks for: its leading number rounded down when
/// that lies in least..most (10..50 unless given), otherwise nothing (ask again).
std::optional<int> rungCountFromAnswer(std::string_view answer, int least = kMinRungs,
                                       int most = kMaxRungs);

}  // namespace tanabashigo

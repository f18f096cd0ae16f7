#pragma once

#include <QFont>

namespace tanabashigo {

/// "ＭＳ Ｐゴシック" at the given size times the layout zoom, falling back to IPAPGothic where it
/// is missing.
QFont msPGothic(double pointSize, bool bold);

}  // namespace tanabashigo

#pragma once

#include <QStringList>

namespace tanabashigo {

/// The help window's text, one entry per printed line in print order; lines 1 and 6 are empty.
const QStringList& helpLines();

}  // namespace tanabashigo

#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "record_reader.h"

namespace tanabashigo {

/// The experiments of the regular file at `path`, read without waiting on anything that is not
/// one. `progress` hears the bytes read and the file's size as the reading goes; it answers
/// false to stop the reading, which then ends refused.
RecordRead readRecordFile(
    const std::string& path,
    const std::function<bool(std::uint64_t done, std::uint64_t size)>& progress = {});

}  // namespace tanabashigo

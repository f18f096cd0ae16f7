#include "wave_header.h"

namespace tanabashigo {

namespace {

std::uint32_t littleEndian(std::string_view bytes, std::size_t at, std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = width; i-- > 0;) {
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

/// Whether the body of a format chunk describes samples the sound system plays.
bool isUsableFormat(std::string_view format) {
    if (format.size() < 16) {
        return false;
    }
    const std::uint32_t encoding = littleEndian(format, 0, 2);  // PCM, float, extensible
    const std::uint32_t channels = littleEndian(format, 2, 2);
    const std::uint32_t rate = littleEndian(format, 4, 4);
    const std::uint32_t blockAlign = littleEndian(format, 12, 2);
    const std::uint32_t bits = littleEndian(format, 14, 2);
    return (encoding == 1 || encoding == 3 || encoding == 0xFFFE) && channels >= 1 &&
           channels <= 8 && rate >= 1000 && rate <= 384'000 &&
           (bits == 8 || bits == 16 || bits == 32) && blockAlign == channels * bits / 8;
}

}  // namespace

bool isLoadableWave(std::string_view head, std::uint64_t fileSize) {
    if (fileSize > kMaxCueFileBytes || head.size() < 12 || head.substr(0, 4) != "RIFF" ||
        head.substr(8, 4) != "WAVE") {
        return false;
    }
    const std::uint64_t riffEnd = 8 + std::uint64_t{littleEndian(head, 4, 4)};
    bool formatSeen = false;
    for (std::uint64_t at = 12; riffEnd <= fileSize && at + 8 <= head.size();) {
        const std::string_view id = head.substr(at, 4);
        const std::uint64_t size = littleEndian(head, at + 4, 4);
        const std::uint64_t end = at + 8 + size;
        if (end > riffEnd) {
            return false;
        }
        if (id == "data") {
            return formatSeen && size > 0;
        }
        // The loader does not skip the pad byte after an odd-sized chunk and then waits forever.
        if (size % 2 != 0 ||
            (id == "fmt " && (end > head.size() || !isUsableFormat(head.substr(at + 8, size))))) {
            return false;
        }
        formatSeen = formatSeen || id == "fmt ";
        at = end;
    }
    return false;
}

}  // namespace tanabashigo

#include "command_output.h"

#include <cstdio>

namespace tanabashigo {

bool writeStandardOutput(const std::string& text) {
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size() &&
                         std::fflush(stdout) == 0 && std::ferror(stdout) == 0;
    if (!written) {
        writeStandardError(
            "tanabashigo: 出力を書き出せませんでした。/ could not write the output.\n");
    }
    return written;
}

void writeStandardError(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

int finishWithOutput(const std::string& text, int status) {
    return writeStandardOutput(text) ? status : 1;
}

}  // namespace tanabashigo

#include "platform/standard_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

int print_out(const QByteArray& text)
{
    errno = 0;
    const bool written = std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stdout)
                             == static_cast<size_t>(text.size())
        && std::fflush(stdout) == 0;
    if (written && !std::ferror(stdout))
        return 0;
    return errno != 0 ? errno : EIO;
}

int output_failed(const char* program, int error)
{
    std::fprintf(stderr, "%s: cannot write the output: %s\n", program, std::strerror(error));
    return 2;
}

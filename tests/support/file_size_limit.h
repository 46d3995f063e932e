#pragma once
// A full disk for the length of one call: a file size limit makes writes beyond `bytes`
// fail (it binds root too, unlike a read-only folder), with the signal it raises ignored.

#include <csignal>
#include <sys/resource.h>

template <typename Work> auto withFileSizeLimit(rlim_t bytes, Work work) {
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = previous;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
    auto result = work();
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    return result;
}

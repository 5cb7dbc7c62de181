#include "catalog/safe_write.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

bool replaceFileWith(const std::string& target, const std::function<bool(const char*)>& write) {
    std::string temporary = target + ".XXXXXX";
    const int descriptor = mkstemp(&temporary[0]);
    if (descriptor < 0) return false;
    const mode_t mask = umask(0);
    umask(mask);
    const bool ready = fchmod(descriptor, 0666 & ~mask) == 0;
    close(descriptor);
    const bool written =
        ready && write(temporary.c_str()) && std::rename(temporary.c_str(), target.c_str()) == 0;
    if (!written) std::remove(temporary.c_str());
    return written;
}

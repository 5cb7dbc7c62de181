// The readers take a path, so each fuzz target writes its input to one temporary file of its own
// process, rewritten for every input and removed when the run ends. The file is kept in memory
// (/dev/shm) where that exists, since the settings writer syncs every file it writes.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

class FuzzInputFile {
public:
    explicit FuzzInputFile(const char* stem) {
        const char* dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : std::getenv("TMPDIR");
        if (!dir || !*dir) dir = "/tmp";
        std::string pattern = std::string(dir) + "/" + stem + "-XXXXXX";
        int fd = mkstemp(&pattern[0]);
        if (fd < 0) std::abort();
        close(fd);
        path_ = pattern;
    }
    ~FuzzInputFile() { std::remove(path_.c_str()); }
    FuzzInputFile(const FuzzInputFile&) = delete;
    FuzzInputFile& operator=(const FuzzInputFile&) = delete;

    // Replaces the file's content with `size` bytes; the path to hand to the reader.
    const char* write(const uint8_t* data, size_t size) {
        std::FILE* file = std::fopen(path_.c_str(), "wb");
        if (!file) std::abort();
        if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
        if (std::fclose(file) != 0) std::abort();
        return path_.c_str();
    }
    const char* path() const { return path_.c_str(); }

private:
    std::string path_;
};

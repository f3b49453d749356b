#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>

#include <sys/mman.h>
#include <unistd.h>

// A file that lives in memory for the whole fuzzing run: each input is
// written over it and the parser opens it by name, so an iteration costs no
// disk traffic and leaves nothing behind.
class FuzzFile {
public:
    FuzzFile() : fd(memfd_create("zanto-fuzz", 0))
    {
        if (fd < 0)
            abort();
        path = QStringLiteral("/proc/self/fd/%1").arg(fd);
    }
    ~FuzzFile() { close(fd); }
    FuzzFile(const FuzzFile&) = delete;
    FuzzFile& operator=(const FuzzFile&) = delete;

    // Makes the file hold exactly these bytes.
    void set(const std::uint8_t* data, std::size_t size)
    {
        if (ftruncate(fd, 0) != 0)
            abort();
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n = pwrite(fd, data + done, size - done, off_t(done));
            if (n <= 0)
                abort();
            done += std::size_t(n);
        }
    }

    const QString& name() const { return path; }

private:
    int fd;
    QString path;
};

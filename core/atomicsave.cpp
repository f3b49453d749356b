#include "atomicsave.h"

#include "savefile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <exception>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int TempNameChars = 6;
constexpr int TempNameTries = 100;
constexpr qint64 BufferBytes = 64 * 1024;

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// A write-only device on a file descriptor with a buffer of its own, so that
// every failure is seen with its errno and nothing waits unwritten in a
// buffer that a later close would flush without telling anyone.
class DescriptorSink : public QIODevice {
public:
    explicit DescriptorSink(int fd) : fd(fd) { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }

    // Writes what is buffered; false (and errno in failure()) when it can't.
    bool drain()
    {
        const char* data = buffer.constData();
        qint64 left = buffer.size();
        while (left > 0) {
            const ssize_t n = ::write(fd, data, size_t(left));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                failWith(n < 0 ? errno : EIO);
                return false;
            }
            data += n;
            left -= n;
        }
        buffer.clear();
        return true;
    }

    int failure() const { return error; }

protected:
    qint64 readData(char*, qint64) override { return -1; }

    qint64 writeData(const char* data, qint64 size) override
    {
        if (error != 0)
            return -1;
        buffer.append(data, size);
        if (buffer.size() >= BufferBytes && !drain())
            return -1;
        return size;
    }

private:
    void failWith(int e)
    {
        error = e;
        setErrorString(systemReason(e));
    }

    int fd;
    int error = 0;
    QByteArray buffer;
};

QString randomSuffix()
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QString suffix;
    for (int i = 0; i < TempNameChars; ++i)
        suffix.append(QLatin1Char(letters[QRandomGenerator::global()->bounded(int(sizeof letters) - 1)]));
    return suffix;
}

SaveOutcome failed(SaveOutcome::Step step, bool existed, const QString& reason)
{
    SaveOutcome outcome;
    outcome.step = step;
    outcome.targetExisted = existed;
    outcome.reason = reason;
    return outcome;
}

// Makes the folder's entry for the renamed file durable as well.
void syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

SaveOutcome SaveAtomically(const QString& target, const ContentWriter& write)
{
    if (target.isEmpty())
        return failed(SaveOutcome::CannotCreate, false, systemReason(ENOENT));
    const QString real = SaveTargetBehindLinks(target);
    const QByteArray realPath = QFile::encodeName(real);
    struct stat old {};
    const bool existed = ::lstat(realPath.constData(), &old) == 0;
    if (existed && S_ISDIR(old.st_mode))
        return failed(SaveOutcome::CannotReplace, true, systemReason(EISDIR));

    RemoveStaleSaveTemps(target);
    QByteArray tempPath;
    int fd = -1;
    for (int attempt = 0; attempt < TempNameTries && fd < 0; ++attempt) {
        tempPath = QFile::encodeName(real + QLatin1Char('.') + randomSuffix());
        fd = ::open(tempPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        return failed(SaveOutcome::CannotCreate, existed, systemReason(errno));

    const auto giveUp = [&](SaveOutcome::Step step, const QString& reason) {
        ::close(fd);
        ::unlink(tempPath.constData());
        return failed(step, existed, reason);
    };
    // A replaced file keeps who may read it.
    if (existed && S_ISREG(old.st_mode))
        ::fchmod(fd, old.st_mode & 07777);

    DescriptorSink sink(fd);
    try {
        if (!write(sink))
            return giveUp(SaveOutcome::CannotWrite, sink.errorString());
    } catch (const std::exception& e) {
        return giveUp(SaveOutcome::CannotWrite, QString::fromLocal8Bit(e.what()));
    }
    if (!sink.drain())
        return giveUp(SaveOutcome::CannotWrite, sink.errorString());
    // A disk that turns out to be full only when the data reaches it says so here.
    if (::fsync(fd) != 0)
        return giveUp(SaveOutcome::CannotWrite, systemReason(errno));
    if (::close(fd) != 0) {
        const int e = errno;
        ::unlink(tempPath.constData());
        return failed(SaveOutcome::CannotWrite, existed, systemReason(e));
    }
    if (::rename(tempPath.constData(), realPath.constData()) != 0) {
        const int e = errno;
        ::unlink(tempPath.constData());
        return failed(SaveOutcome::CannotReplace, existed, systemReason(e));
    }
    syncFolder(QFileInfo(real).absolutePath());
    SaveOutcome saved;
    saved.targetExisted = existed;
    return saved;
}

SaveOutcome SaveAtomically(const QString& target, const QByteArray& content)
{
    return SaveAtomically(target, [&content](QIODevice& device) {
        return device.write(content) == content.size();
    });
}

#include "SerialTransport.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace lumivane::link {

namespace {
speed_t speedFor(int rate)
{
    switch (rate) {
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 115200:
        return B115200;
    default:
        return B9600;
    }
}

bool makeRaw8N1(int fd, int rate)
{
    termios settings{};
    if (::tcgetattr(fd, &settings) != 0)
        return false;
    ::cfmakeraw(&settings);
    settings.c_cflag &= ~static_cast<tcflag_t>(CSTOPB | PARENB | CRTSCTS | CSIZE);
    settings.c_cflag |= CS8 | CREAD | CLOCAL;
    settings.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    // VMIN 1: a read of the non-blocking descriptor says EAGAIN when nothing is there, and 0 only on hang-up.
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    ::cfsetispeed(&settings, speedFor(rate));
    ::cfsetospeed(&settings, speedFor(rate));
    return ::tcsetattr(fd, TCSANOW, &settings) == 0;
}
} // namespace

int baudRateForCode(int baudCode)
{
    switch (baudCode) {
    case 5:
        return 19200;
    case 6:
        return 38400;
    case 7:
        return 115200;
    default:
        return 9600;
    }
}

std::unique_ptr<SerialTransport> SerialTransport::open(const std::string& device, int baudCode)
{
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    // Only a descriptor that won the lock may touch TIOCEXCL: clearing it is the holder's business.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return nullptr;
    }
    std::unique_ptr<SerialTransport> transport(new SerialTransport(fd));
    ::ioctl(fd, TIOCEXCL);
    if (!makeRaw8N1(fd, baudRateForCode(baudCode)))
        return nullptr;
    ::tcflush(fd, TCIOFLUSH);
    return transport;
}

SerialTransport::~SerialTransport()
{
    ::ioctl(m_fd, TIOCNXCL);
    ::flock(m_fd, LOCK_UN);
    ::close(m_fd);
}

ssize_t SerialTransport::writeSome(const char* data, size_t size)
{
    return ::write(m_fd, data, size);
}

ssize_t SerialTransport::readSome(char* data, size_t size)
{
    return ::read(m_fd, data, size);
}

} // namespace lumivane::link

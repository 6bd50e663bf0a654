// SPDX-License-Identifier: GPL-3.0-or-later
// Line settings of a serial device on termios.
#include "comm/serial_line.h"

#include <sys/ioctl.h>

namespace plovane::serial {

speed_t StandardSpeed(int32_t baudRate) {
    struct Rate {
        int32_t baud;
        speed_t speed;
    };
    static constexpr Rate kRates[] = {
        {50, B50},           {75, B75},           {110, B110},         {134, B134},
        {150, B150},         {200, B200},         {300, B300},         {600, B600},
        {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
        {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
        {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
        {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
        {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
        {3500000, B3500000}, {4000000, B4000000},
    };
    for (const Rate& rate : kRates) {
        if (rate.baud == baudRate)
            return rate.speed;
    }
    return B0;
}

void ApplyLineSettings(termios& tio, const SerialParameters& parameters) {
    // Binary input: no translation of CR/NL, no stripping, no XON/XOFF, no break signal.
    // INPCK, IGNPAR and PARMRK stay as they were.
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | ICRNL | INLCR | IGNCR | ISTRIP |
                                          BRKINT | IMAXBEL);
    tio.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    tio.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ECHOE | ECHOK | ECHONL | ISIG | IEXTEN);

    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    tio.c_cflag |= CREAD | CLOCAL;  // CLOCAL: no carrier or DSR needed to talk to the device
    tio.c_cflag |= parameters.dataBits == 7 ? CS7 : CS8;

    const char parity = parameters.parity.empty() ? 'N' : parameters.parity.front();
    switch (parity) {
        case 'E':
            tio.c_cflag |= PARENB;
            break;
        case 'O':
            tio.c_cflag |= PARENB | PARODD;
            break;
        case 'M':  // stick parity: the bit is always 1
            tio.c_cflag |= PARENB | CMSPAR | PARODD;
            break;
        case 'S':  // stick parity: the bit is always 0
            tio.c_cflag |= PARENB | CMSPAR;
            break;
        default:
            break;
    }
    if (parameters.stopBits == "2" || parameters.stopBits == "1.5")
        tio.c_cflag |= CSTOPB;

    // With VMIN 0 a read waits at most VTIME tenths of a second for the next byte and
    // returns what has come; the read thread gathers a chunk until a read comes back empty.
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = CSerialPort::kReadIdleMs / 100;

    const speed_t speed = StandardSpeed(parameters.baudRate);
    if (speed != B0) {
        cfsetispeed(&tio, speed);
        cfsetospeed(&tio, speed);
    }
}

bool ConfigureLine(int fd, const SerialParameters& parameters) {
    termios tio{};
    if (tcgetattr(fd, &tio) != 0)
        return false;
    ApplyLineSettings(tio, parameters);
    if (tcsetattr(fd, TCSANOW, &tio) != 0)
        return false;
    if (StandardSpeed(parameters.baudRate) == B0 &&
        !SetArbitraryBaudRate(fd, parameters.baudRate)) {
        return false;
    }
    // Devices without modem lines (pseudo-terminals, some adapters) refuse this; that is
    // no reason to give up the port.
    int lines = TIOCM_DTR | TIOCM_RTS;
    ioctl(fd, TIOCMBIS, &lines);
    return true;
}

}  // namespace plovane::serial

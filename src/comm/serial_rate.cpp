// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary baud rates through the Linux termios2 interface. This file keeps the kernel's
// termios definitions away from the C library's <termios.h>, which clash with them.
#include <asm/ioctls.h>
#include <asm/termbits.h>

#include <cstdint>

extern "C" int ioctl(int fd, unsigned long request, ...);

namespace plovane::serial {

bool SetArbitraryBaudRate(int fd, int32_t baudRate) {
    if (baudRate <= 0)
        return false;
    struct termios2 tio {};
    if (ioctl(fd, TCGETS2, &tio) != 0)
        return false;
    tio.c_cflag &= ~static_cast<tcflag_t>(CBAUD | (CBAUD << IBSHIFT));
    tio.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    tio.c_ispeed = static_cast<speed_t>(baudRate);
    tio.c_ospeed = static_cast<speed_t>(baudRate);
    return ioctl(fd, TCSETS2, &tio) == 0;
}

}  // namespace plovane::serial

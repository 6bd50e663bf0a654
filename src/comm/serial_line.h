// SPDX-License-Identifier: GPL-3.0-or-later
// The line settings of a serial device on POSIX termios: speed, character format, no flow
// control, raw bytes, and the read time-out the read thread relies on.
#pragma once

#include <termios.h>

#include <cstdint>

#include "comm/serial_port.h"

namespace plovane::serial {

// The termios constant of a standard rate, or B0 when the rate has none (then the
// arbitrary-rate interface must set it).
speed_t StandardSpeed(int32_t baudRate);

// Changes tio for the parameters: 7 or 8 data bits; parity from the first letter of the
// parity text, upper case only ("E" even, "O" odd, "M" mark, "S" space, else none); two stop
// bits for "2", and also for "1.5", which a UART gives only with 5-bit characters and
// otherwise sends as two; else one. Raw input and output, no XON/XOFF or RTS/CTS flow
// control, modem status lines ignored, and reads that return after 100 ms without a byte.
// The parity-checking and error-marking input flags stay as the device had them.
// The speed is set here only when it is a standard rate.
void ApplyLineSettings(termios& tio, const SerialParameters& parameters);

// Sets a rate without a termios constant (e.g. 14400, 56000) through termios2 and BOTHER.
// False when the device refuses it.
bool SetArbitraryBaudRate(int fd, int32_t baudRate);

// Configures an open device; false when the settings are refused. Raises DTR and RTS where
// the device has modem lines.
bool ConfigureLine(int fd, const SerialParameters& parameters);

}  // namespace plovane::serial

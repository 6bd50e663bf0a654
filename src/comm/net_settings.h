// SPDX-License-Identifier: GPL-3.0-or-later
// The APRS-IS connection settings, kept in the "Comm" section (declared with the other
// connection settings).
#pragma once

#include "core/comm_settings.h"

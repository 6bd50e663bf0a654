// SPDX-License-Identifier: GPL-3.0-or-later
// The conversations' read marks as the state file holds them, over arbitrary bytes: whatever
// a line gives, writing it out and reading that back must give the same line.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "ui/logic/conversation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    plovane::ConversationReadMarks marks;
    marks.Load(line, 60);
    const std::string saved = marks.Save(60);
    plovane::ConversationReadMarks again;
    again.Load(saved, 60);
    if (again.Save(60) != saved)
        std::abort();
    return 0;
}

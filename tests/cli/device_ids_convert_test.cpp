// SPDX-License-Identifier: GPL-3.0-or-later
// make-device-ids: the index's YAML shapes become sorted table rows; broken input is refused.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "device_ids_convert.h"

namespace plovane::tools {
namespace {

// Made-up entries in the index's layout.
constexpr const char* kIndex = R"(#
# comment
---
classes:
 - class: ht
   shown: HT
   description: Hand-held radio
mice:
 - suffix: "_\""
   vendor: Maker
   model: R-1
   class: ht
micelegacy:
 - prefix: ">"
   vendor: Kenwood
   model: TH-D7A
   features:
     - messaging
 - prefix: ">"
   suffix: "="
   vendor: Kenwood
   model: TH-D72
tocalls:
 - tocall: APXY??
   vendor: Jane Doe, N0CALL
   model: Tool
 - tocall: APXYZ?
   vendor: Open Source
   model: "Tool \"Z\""
   class: app
 - tocall: APXY12
   vendor: Maker
   model: Maker Box
generated: 2026-01-01
)";

TEST(DeviceIdsConvert, WritesSortedRowsWithOurTexts) {
    std::istringstream in(kIndex);
    std::string error;
    const std::string table = ConvertDeviceIds(in, error);
    EXPECT_EQ(error, "");
    EXPECT_EQ(table,
              "DEVICE_CLASS(\"ht\", \"HT\")\n"
              "MICE_DEVICE(\"_\\\"\", \"R-1\", \"Maker R-1\", \"ht\")\n"
              "LEGACY_DEVICE(\">\", \"TH-D7\", \"Kenwood TH-D7\", \"\")\n"
              "LEGACY_DEVICE(\">=\", \"TH-D72\", \"Kenwood TH-D72\", \"\")\n"
              "TOCALL_DEVICE(\"APXY\", \"APXY??\", \"Tool (Jane Doe, N0CALL)\", \"\")\n"
              "TOCALL_DEVICE(\"APXY12\", \"APXY12\", \"Maker Box\", \"\")\n"
              "TOCALL_DEVICE(\"APXYZ\", \"APXYZ?\", \"Tool \\\"Z\\\"\", \"app\")\n");
}

TEST(DeviceIdsConvert, RefusesBrokenIndexes) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"tocalls:\n - tocall: \"APX\n", "line 2: an unclosed quoted value"},
        {"tocalls:\n - tocall APX\n", "line 2: not a \"key: value\" line"},
        {" - tocall: APX\n", "line 1: a list item outside a list"},
        {"classes:\n", "no destination calls in the index"},
        {"mice:\n - suffix: \"_1\"\n   model: A\n - suffix: \"_2\"\n   model: A\ntocalls:\n",
         "Mic-E device '_2' has no model or one already used"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::istringstream in(c.text);
        std::string error;
        EXPECT_EQ(ConvertDeviceIds(in, error), "");
        EXPECT_EQ(error, c.error);
    }
}

}  // namespace
}  // namespace plovane::tools

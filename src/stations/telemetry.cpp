// SPDX-License-Identifier: GPL-3.0-or-later
// Telemetry definitions and scaling.
#include "stations/telemetry.h"

#include <charconv>

#include "core/latin1.h"

namespace plovane {
namespace {

// Splits `list` at commas into at most `count` fields, calling `take(index, field)`.
template <typename Take>
void ForEachField(std::string_view list, size_t count, Take&& take) {
    for (size_t i = 0; i < count; ++i) {
        const size_t comma = list.find(',');
        take(i, list.substr(0, comma));
        if (comma == std::string_view::npos)
            return;
        list.remove_prefix(comma + 1);
    }
}

bool ParseDouble(std::string_view text, double& value) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return latin1::ParseDouble(text, value);
}

}  // namespace

bool CTelemetry::ApplyDefinition(std::string_view text) {
    if (text.size() < 5 || text[4] != '.')
        return false;
    const std::string_view kind = text.substr(0, 4);
    const std::string_view list = text.substr(5);
    if (kind == "PARM" || kind == "UNIT") {
        auto& target = kind == "PARM" ? names : units;
        for (std::string& field : target)
            field.clear();
        ForEachField(list, kChannels,
                     [&](size_t i, std::string_view field) { target[i].assign(field); });
        return true;
    }
    if (kind == "EQNS") {
        ForEachField(list, equations.size() * 3, [&](size_t i, std::string_view field) {
            double value;
            if (ParseDouble(field, value))
                equations[i / 3][i % 3] = value;
        });
        return true;
    }
    if (kind == "BITS") {
        // e.g. "BITS.10110000,Big Balloon": eight senses, then the title.
        for (size_t i = 0; i < kDigital && i < list.size(); ++i)
            bitSense[i] = list[i] != '0';
        const size_t comma = list.find(',');
        project.assign(comma == std::string_view::npos ? std::string_view()
                                                       : list.substr(comma + 1));
        return true;
    }
    return false;
}

double CTelemetry::Scaled(size_t i) const {
    const double x = values.analog[i];
    const auto& [a, b, c] = equations[i];
    return a * x * x + b * x + c;
}

bool CTelemetry::BitOn(size_t i) const {
    const bool set = (values.bits >> i & 1) != 0;
    return set == bitSense[i];
}

}  // namespace plovane

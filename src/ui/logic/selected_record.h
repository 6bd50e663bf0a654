// SPDX-License-Identifier: GPL-3.0-or-later
// The record behind a list window's selected row, for the window's buttons.
#pragma once

#include <optional>

#include "core/app_host.h"

namespace plovane {

// Finds the selected row's record in its store again; when there is none (no row selected, or
// the record is gone since), the user is asked to select one with `noSelectionText`.
template <typename Key, typename Find>
auto FindSelected(const std::optional<Key>& key, Find find, AppHost& host,
                  const char* noSelectionText) -> decltype(find(*key)) {
    decltype(find(*key)) record;
    if (key)
        record = find(*key);
    if (!record)
        host.MessageBox(noSelectionText, MessageBoxIcon::kExclamation);
    return record;
}

}  // namespace plovane

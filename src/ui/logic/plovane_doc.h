// SPDX-License-Identifier: GPL-3.0-or-later
// The document: the one map shown. Opening reads a map file (any of the three families);
// closing returns to the empty map, which the view shows as the whole world.
#pragma once

#include <string>

#include "core/clock.h"
#include "maps/map_data.h"
#include "maps/map_reader.h"

namespace plovane {

// Thread-compatible: the user-interface thread.
class CPlovaneDoc {
  public:
    explicit CPlovaneDoc(const Clock& clock) : clock_(clock), map_(clock.Now()) {}

    // Reads the file. On success the map replaces the one shown and path() is the file's
    // absolute path, and the result is empty; on failure the map shown stays as it was and
    // the result is the text to show, naming the file.
    std::string Open(const std::string& path, MapProgress& progress);
    // Back to the empty map.
    void Close();

    CMapData& map() { return map_; }
    const CMapData& map() const { return map_; }
    const std::string& path() const { return path_; }
    // The window title's document part: the map's name, or "Untitled" without a map.
    std::string Title() const;

  private:
    const Clock& clock_;
    CMapData map_;
    std::string path_;
};

}  // namespace plovane

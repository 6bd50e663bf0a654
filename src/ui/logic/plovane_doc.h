// The document: the one map shown. Opening reads a map file (any of the three families);
// closing returns to the empty map, which the view shows as the whole world.
#pragma once

#include <string>

#include "core/app_host.h"
#include "core/clock.h"
#include "maps/map_data.h"

namespace plovane {

// Thread-compatible: the user-interface thread.
class CPlovaneDoc {
  public:
    explicit CPlovaneDoc(const Clock& clock) : map_(clock) {}

    // Reads the file; on failure the reader has told the user through the host and the
    // document is empty. Returns whether a map is loaded.
    bool Open(const std::string& path, AppHost& host);
    // Back to the empty map.
    void Close();

    CMapData& map() { return map_; }
    const CMapData& map() const { return map_; }
    const std::string& path() const { return path_; }
    // The window title's document part: the map's name, or "Untitled" without a map.
    std::string Title() const;

  private:
    CMapData map_;
    std::string path_;
};

}  // namespace plovane

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

    // A map file read beside the map shown, not yet taken.
    struct FileRead {
        std::string path;      // as asked for
        std::string absolute;  // stored absolute, so that it opens from any working folder
        MapReadResult result;
    };
    // Reads a map file without touching the document. Thread-safe: a worker reads large
    // maps while the window goes on.
    static FileRead Read(const std::string& path, MapProgress& progress);
    // Takes a read map: on success it replaces the one shown and path() is the file's
    // absolute path, and the result is empty; on failure the map shown stays as it was and
    // the result is the text to show, naming the file.
    std::string Adopt(FileRead read);
    // Read and Adopt in one.
    std::string Open(const std::string& path, MapProgress& progress) {
        return Adopt(Read(path, progress));
    }
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
